#include "support/run_program.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;  // not declared by every system's headers

namespace mt::testing {
namespace fs = std::filesystem;

namespace {

// A fresh file for one stream of one run.
fs::path scratch_file(const char* stream) {
    std::string pattern = (fs::temp_directory_path() / "mt-run-").string() + stream + "-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd >= 0) ::close(fd);
    return pattern;
}

}  // namespace

bool cloexec_pipe(int fds[2]) {
    if (::pipe(fds) != 0) return false;
    for (int i = 0; i < 2; ++i) ::fcntl(fds[i], F_SETFD, FD_CLOEXEC);
    return true;
}

std::ostream& operator<<(std::ostream& os, const ProgramRun& run) {
    return os << "status " << run.status << "\nstdout:\n" << run.out << "stderr:\n" << run.err;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

ProgramRun run_program(const std::string& program, const std::vector<std::string>& args, const fs::path& cwd,
                       Stdout out_mode, int stdin_fd, const std::vector<std::string>& through) {
    const fs::path out_path = scratch_file("stdout"), err_path = scratch_file("stderr");
    int dead_pipe[2] = {-1, -1};
    if (out_mode == Stdout::closed_pipe) {
        if (!cloexec_pipe(dead_pipe)) return {-1000, "", "pipe failed"};
        ::close(dead_pipe[0]);
    }
    std::vector<std::string> command = through;
    const std::vector<std::string> emulator = {MT_EMULATOR};
    command.insert(command.end(), emulator.begin(), emulator.end());
    command.push_back(program);
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& arg : command) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (out_mode == Stdout::closed_pipe)
        ::posix_spawn_file_actions_adddup2(&actions, dead_pipe[1], 1);
    else if (out_mode == Stdout::dev_full)
        ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
    else
        ::posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_TRUNC, 0);
    ::posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_TRUNC, 0);
    if (stdin_fd >= 0)
        ::posix_spawn_file_actions_adddup2(&actions, stdin_fd, 0);
    else if (stdin_fd == CLOSED_STDIN)
        ::posix_spawn_file_actions_addclose(&actions, 0);
    else
        ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t default_signals;
    sigemptyset(&default_signals);
    sigaddset(&default_signals, SIGPIPE);
    ::posix_spawnattr_setsigdefault(&attributes, &default_signals);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
    if (dead_pipe[1] >= 0) ::close(dead_pipe[1]);

    ProgramRun run{-1000, "", "spawn failed"};
    if (spawned == 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        int wstatus = 0;
        while (::waitpid(pid, &wstatus, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &wstatus, 0);
                break;
            }
            ::usleep(200);
        }
        run = {WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus),
               out_mode == Stdout::captured ? slurp(out_path) : "", slurp(err_path)};
    }
    fs::remove(out_path);
    fs::remove(err_path);
    return run;
}

}  // namespace mt::testing
