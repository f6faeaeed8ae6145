#pragma once
// Running part of a test in a child process, for limits and rights that must not reach the test
// program itself (a file-size limit, giving up root's rights).
#include <filesystem>
#include <functional>

// The exit code of a child that could not give up its rights.
constexpr int kCannotDropRights = 77;
// The user and group that a child running as root becomes, so that folder permissions apply to it.
constexpr unsigned kNobodyId = 65534;

// Runs body in a child process and gives its exit code (-1 when it did not exit normally).
int RunInChild(const std::function<int()>& body);

// In a child running as root: becomes kNobodyId. True when the child now obeys permissions.
bool DropRootRights();

// When running as root: hands folder and everything in it to kNobodyId, so that a child that has
// dropped its rights can still work there. False when that failed.
bool GiveTreeToNobody(const std::filesystem::path& folder);
