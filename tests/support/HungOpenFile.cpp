#include "HungOpenFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

namespace testing_support {

HungOpenFile::HungOpenFile(std::filesystem::path path) : path_(std::move(path)) {
    std::ofstream(path_).put('\0');
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) return;
    const pid_t child = fork();
    if (child == 0) {
        // Only calls that are safe after a fork of a threaded process. The kernel tells
        // the holder of a wanted lease by SIGIO, whose default would end it and so
        // free the writer at once.
        signal(SIGIO, SIG_IGN);
        const int fd = open(path_.c_str(), O_RDONLY);
        const char leased = fd >= 0 && fcntl(fd, F_SETLEASE, F_RDLCK) == 0 ? 'y' : 'n';
        if (write(ready[1], &leased, 1) != 1 || leased != 'y') _exit(1);
        while (true) pause();
    }
    close(ready[1]);
    char leased = 'n';
    const bool told = child > 0 && read(ready[0], &leased, 1) == 1;
    close(ready[0]);
    if (told && leased == 'y') {
        holder_ = child;
    } else if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
}

HungOpenFile::~HungOpenFile() {
    if (holder_ <= 0) return;
    kill(holder_, SIGKILL);
    waitpid(holder_, nullptr, 0);
}

}  // namespace testing_support
