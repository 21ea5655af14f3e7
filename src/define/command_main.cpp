// The verbarium command in the bin folder: "--define" goes to verbarium-define, everything else to the program.
// It links nothing beyond the C library, so handing over costs next to nothing; exec keeps the process id.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include <unistd.h>

int main(int argc, char **argv)
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        std::fprintf(stderr, "verbarium: cannot find the folder of the program: %s\n", std::strerror(errno));
        return 127;
    }
    path[length] = '\0';
    char *slash = std::strrchr(path, '/');
    const char *target = argc > 1 && std::strcmp(argv[1], "--define") == 0 ? "verbarium-define" : "verbarium";
    if (!slash || size_t(slash + 1 - path) + std::strlen(target) >= sizeof path) {
        std::fprintf(stderr, "verbarium: the program's folder name is too long\n");
        return 127;
    }
    std::strcpy(slash + 1, target);
    ::execv(path, argv);
    std::fprintf(stderr, "verbarium: cannot run %s: %s; reinstall the package.\n", path, std::strerror(errno));
    return 127;
}
