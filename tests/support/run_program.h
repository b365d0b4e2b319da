// Starting a built program from a test and collecting what it did: its exit status and both
// streams. A cross build starts it through the cross-compiling emulator, so the same tests run
// on every target; posix_spawn is used, not fork, because a forked child of a dynamic program
// hangs under qemu-user 7.2.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace mt::testing {

struct ProgramRun {
    int status;  // the exit status, or minus the signal that ended the process
    std::string out;
    std::string err;
    friend bool operator==(const ProgramRun&, const ProgramRun&) = default;
};

std::ostream& operator<<(std::ostream& os, const ProgramRun& run);

// Where the program's standard output goes.
enum class Stdout { captured, dev_full, closed_pipe };

// As `stdin_fd`: the program starts with no standard input at all (-1: /dev/null).
inline constexpr int CLOSED_STDIN = -2;

// Runs `program` with `args` in `cwd`, SIGPIPE at its default; a run that takes longer than 20
// seconds is killed (status -SIGKILL), so a hang never stalls the suite. `through` is a command
// of this machine's that starts it (setpriv, to run it as another user), before the emulator.
ProgramRun run_program(const std::string& program, const std::vector<std::string>& args,
                       const std::filesystem::path& cwd, Stdout out_mode = Stdout::captured, int stdin_fd = -1,
                       const std::vector<std::string>& through = {});

// A pipe whose ends a started program does not inherit (pipe2 is not everywhere).
bool cloexec_pipe(int fds[2]);

// The whole content of a file ("" when it cannot be read).
std::string slurp(const std::filesystem::path& path);

}  // namespace mt::testing
