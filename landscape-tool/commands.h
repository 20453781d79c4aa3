// The three commands of pelorin-landscape and their command line.
#pragma once

// Runs the command that argv names; returns the exit status: 0 on success,
// 1 after one line on standard error naming the file and the reason.
int RunLandscapeTool(int argc, char** argv);
