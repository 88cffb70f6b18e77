#include <cstdio>

int main() {
    std::puts("usage: longhand-calc add|sub|mul|div A B");
    return 0;
}
