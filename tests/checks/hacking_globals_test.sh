#!/usr/bin/env bash
# HACKING.md's tables of global state stay true: every global a header
# declares extern has a row, every row names a global that still exists, and
# every file that assigns a global is its owner or named in its row's
# "written by" cell.
set -euo pipefail
cd "${PELORIN_SOURCE:-$(dirname "$0")/../..}"

# Names declared extern in the headers: "extern int a;", "extern float b[3];",
# "extern void* (*c)(size_t);".
declared=$(find . \( -path ./.git -o -path './build*' -o -path ./tests -o -path ./debian \) -prune -o -name '*.h' -print |
  xargs cat | perl -ne '
  next unless /^extern\s[^;]*;/;
  if (/\(\s*\*\s*(\w+)\s*\)\s*\(/) { print "$1\n" }
  elsif (/(\w+)\s*(\[[^\]]*\]\s*)*;/) { print "$1\n" }' | sort -u)
# First cell of the rows of the tables under "## Global state".
documented=$(awk '/^## /{ on = ($0 ~ /^## Global state/) } on && /^\| `/ { split($0, c, "`"); print c[2] }' HACKING.md | sort -u)

missing=$(comm -23 <(printf '%s\n' "$declared") <(printf '%s\n' "$documented"))
stale=$(comm -13 <(printf '%s\n' "$declared") <(printf '%s\n' "$documented"))
status=0
if [ -n "$missing" ]; then
  echo "HACKING.md has no row for these globals:"; printf '  %s\n' $missing; status=1
fi
if [ -n "$stale" ]; then
  echo "HACKING.md has rows for globals no header declares:"; printf '  %s\n' $stale; status=1
fi

# Writers. The simulator's table names files under sim/, the editor's under
# editor/; each table is checked against the program files of its own folder.
# An assignment is the global, or a member or element of it, followed by
# =, +=, -= and the like, ++ or --, or preceded by ++ or --. Writes through a
# reference (a call that takes the global by reference) are not seen.
writers=$(perl -e '
  use strict; use warnings;
  my (%owner, %writers, %base);
  my $table = "";
  open(my $h, "<", "HACKING.md") or die;
  my $on = 0;
  while (<$h>) {
    $on = /^## Global state/ if /^## /;
    next unless $on;
    $table = "sim/" if /^Simulator/;
    $table = "editor/" if /^Editor/;
    next unless /^\| `(\w+)` \| ([^|]+) \| ([^|]+) \|/;
    my ($name, $own, $by) = ($1, $2, $3);
    $own =~ s/^\s+|\s+$//g;
    $owner{"$table $name"} = $own;
    $base{"$table $name"} = 1;
    my %w;
    # Drop what the cell says in brackets: file names there are readers.
    (my $plain = $by) =~ s/\([^)]*\)//g;
    $w{$table . $1} = 1 while $plain =~ /\b((?:\w+\/)?\w+\.cpp)\b/g;
    $writers{"$table $name"} = \%w;
  }
  close $h;
  my $failed = 0;
  for my $key (sort keys %base) {
    my ($dir, $name) = split / /, $key;
    for my $file (sort keys %{$writers{$key}}) {
      next if -f $file;
      print "$name: HACKING.md names $file as a writer, and there is no such file\n";
      $failed = 1;
    }
    for my $file (split /\n/, `git ls-files -co --exclude-standard -- "${dir}*.cpp"`) {
      next if $file eq $owner{$key};
      open(my $fh, "<", $file) or next;
      local $/;
      my $src = <$fh>;
      close $fh;
      $src =~ s{//[^\n]*}{}g;
      $src =~ s{/\*.*?\*/}{}gs;
      $src =~ s{"(?:\\.|[^"\\])*"}{""}g;
      $src =~ s{\x27(?:\\.|[^\x27\\])\x27}{\x27\x27}g;
      my $assigned = $src =~ /(?<![\w.>:])\Q$name\E\b(?:\s*\[[^\]]*\]|\s*\.\s*\w+)*\s*(?:[-+*\/%&|^]?=(?!=)|\+\+|--)/
        || $src =~ /(?:\+\+|--)\s*\Q$name\E\b/;
      next unless $assigned && !$writers{$key}{$file};
      print "$name is assigned in $file, which its row in HACKING.md does not name as a writer\n";
      $failed = 1;
    }
  }
  exit $failed;
') || true
if [ -n "$writers" ]; then
  printf '%s\n' "$writers"; status=1
fi
[ "$status" -eq 0 ] && echo "HACKING.md: $(printf '%s\n' "$declared" | grep -c .) globals, each with a row that names its writers"
exit "$status"
