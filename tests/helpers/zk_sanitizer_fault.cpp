// Commits one fault of the kind named by its argument, for the sanitized
// build's check of its own report collection (sanitizer_selftest.sh):
//   leak      loses the only pointer to a heap block and exits normally
//   overflow  reads one element past the end of a heap array
//   ub        overflows a signed integer
// Built in sanitized builds only.
#include <climits>
#include <cstdio>
#include <cstring>

namespace {
// Volatile, so that the compiler can neither drop nor fold the faults.
int* volatile lost = nullptr;
volatile int big = INT_MAX;
volatile int four = 4;
}

int main(int argc, char** argv)
{
    const char* kind = argc > 1 ? argv[1] : "";
    if (std::strcmp(kind, "leak") == 0) {
        lost = new int[16];
        lost = nullptr;
    } else if (std::strcmp(kind, "overflow") == 0) {
        // A length the compiler cannot see, so that AddressSanitizer and
        // not UBSan's object-size check is the one to notice.
        const int length = four;
        int* values = new int[length]();
        std::printf("%d\n", values[length]);
        delete[] values;
    } else if (std::strcmp(kind, "ub") == 0) {
        const int sum = big + 1;
        std::printf("%d\n", sum);
    } else {
        std::fprintf(stderr, "usage: zk_sanitizer_fault leak|overflow|ub\n");
        return 2;
    }
    return 0;
}
