// Scenarios that must run in a process of their own (an exception that ends
// it): the test program starts itself as a child with --child=<scenario> and
// reads the lines the child reported. The child inherits the environment.
#pragma once

#include <string>
#include <vector>

struct ChildReport {
  std::vector<std::string> lines;
  std::string raw;
};

ChildReport RunChild(const std::wstring& scenario, const std::wstring& folder);

// Runs the scenario named by a --child= argument; returns false when the
// arguments name none, so the program runs its tests instead.
bool RunChildScenario(int argc, char** argv);
