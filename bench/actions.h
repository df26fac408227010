#pragma once

#include <vector>

// The student actions the benchmark times, in the order of its table.
struct Action {
    const char *key; // names the action to a child process
    const char *label;
};
const std::vector<Action> &actions();

// The child's side, in a process of its own: prepares the action, times its first click (cold),
// then prepares and times it `warm` more times, and prints the figures for the parent to read.
// The key "everything" opens every window instead and prints the size of their images; the
// parent reads the process's peak memory.
int runAction(int argc, char *argv[], const char *key, int warm);
