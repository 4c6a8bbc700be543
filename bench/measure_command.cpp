// Runs one command and prints its wall time and the CPU time (user + system) that it and its
// threads used, from getrusage of the waited-for child: "WALL_S CPU_S EXIT". The command's
// standard output goes to /dev/null.
// Usage: measure_command PROGRAM [ARGS...]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdio>

namespace {
double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; }
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: measure_command PROGRAM [ARGS...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    std::printf("%.4f %.4f %d\n", wall, seconds(usage.ru_utime) + seconds(usage.ru_stime),
                WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    return 0;
}
