// A process to look at: it ignores its arguments and sleeps until it is
// killed, its parent dies, or five minutes have passed.
#include <csignal>
#include <ctime>

#include <sys/prctl.h>

int main()
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    timespec rest{300, 0};
    while (nanosleep(&rest, &rest) != 0) {
    }
    return 0;
}
