// The editor's height grid.
