// A process that only waits: the scan benchmark starts many of these under
// command lines of its choosing and looks at them through /proc. It ends
// when it is killed or when its parent ends.
#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

int main()
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent may already be gone before the line above took effect.
    if (getppid() == 1)
        return 0;
    for (;;)
        pause();
}
