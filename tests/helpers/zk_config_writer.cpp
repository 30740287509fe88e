// Usage: zk_config_writer [steps]
// Writes the configuration file (configFilePath()) step after step as
// tests/helpers/crashplan.h lays down, through the program's own ZConfig and
// favourites code, until it is killed (or after `steps` steps). It carries on
// from the step the file already holds. Standard output, one line each:
//   "ready <step the file holds>"  once the file has been read;
//   "flushed <step>"               after each flush() that returned true;
//   "failed <step>"                when a flush() returned false (it then ends).
#include "tests/helpers/crashplan.h"

#include <QByteArray>

#include <csignal>
#include <cstdlib>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

// Straight to the file descriptor: the test reads the lines of a process it
// has killed, so nothing may wait in a buffer.
void say(const char* what, qint64 step)
{
    const QByteArray line = QByteArray(what) + ' ' + QByteArray::number(step) + '\n';
    qsizetype done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, line.constData() + done, static_cast<size_t>(line.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const qint64 steps = argc > 1 ? std::atoll(argv[1]) : -1;

    qint64 step = 0;
    {
        const ZConfig config(configFilePath(), false);
        step = crashplan::lastStepIn(config);
    }
    say("ready", step);
    for (qint64 done = 0; steps < 0 || done < steps; ++done) {
        ++step;
        if (!crashplan::perform(step)) {
            say("failed", step);
            return 2;
        }
        say("flushed", step);
    }
    return 0;
}
