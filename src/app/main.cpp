#include <cstdio>

int main() {
    std::fputs("quorvane: the windowed application is not part of this build\n", stderr);
    return 1;
}
