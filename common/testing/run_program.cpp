#include "common/testing/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace {

std::vector<char*> ArgumentVector(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& folder, int limit_seconds) {
  ProgramResult result;
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
    posix_spawn_file_actions_addclose(&actions, fd);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  std::vector<char*> argv = ArgumentVector(program, args);
  pid_t pid;
  bool started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (started) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limit_seconds);
    struct pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open_streams = 2;
    while (open_streams > 0 && std::chrono::steady_clock::now() < deadline) {
      if (poll(fds, 2, 100) <= 0) continue;
      for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || fds[i].revents == 0) continue;
        char buffer[4096];
        ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) {
          sinks[i]->append(buffer, static_cast<size_t>(n));
        } else {
          fds[i].fd = -1;
          --open_streams;
        }
      }
    }
    if (open_streams > 0) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (open_streams == 0 && WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  }
  close(in[1]);
  close(out[0]);
  close(err[0]);
  return result;
}

TerminalRun RunOnTerminal(const std::string& program, const std::vector<std::string>& args,
                          int limit_seconds) {
  TerminalRun result;
  int master = -1, slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return result;
  fcntl(master, F_SETFD, FD_CLOEXEC);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd : {0, 1, 2}) posix_spawn_file_actions_adddup2(&actions, slave, fd);
  posix_spawn_file_actions_addclose(&actions, slave);
  std::vector<char*> argv = ArgumentVector(program, args);
  pid_t pid;
  bool started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(slave);
  if (started) {
    // The terminal reports an error (EIO) once the program and every child of it have closed it.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limit_seconds);
    bool open = true;
    while (open && std::chrono::steady_clock::now() < deadline) {
      struct pollfd fd = {master, POLLIN, 0};
      if (poll(&fd, 1, 100) <= 0) continue;
      char buffer[4096];
      ssize_t n = read(master, buffer, sizeof buffer);
      if (n > 0) {
        result.text.append(buffer, static_cast<size_t>(n));
      } else {
        open = false;
      }
    }
    if (open) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!open && WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  }
  close(master);
  return result;
}
