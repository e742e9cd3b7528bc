#include <iostream>

#include "tamberlyne/Verb.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return tamberlyne::RunTamberlyne(args, std::cout, std::cerr);
}
