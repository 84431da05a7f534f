// Linked without -static for the footprint check's own test: it imports the C++ runtime DLL.
#include <cstdio>
#include <string>

int main(int argc, char**) {
    const std::string text(static_cast<std::size_t>(argc), 'x');
    std::puts(text.c_str());
    return 0;
}
