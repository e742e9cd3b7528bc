#include <iostream>

#include "platform/ProgramFile.h"
#include "shell/TamberMain.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    tamber::shell::TamberContext context;
    context.in = &std::cin;
    context.out = &std::cout;
    context.err = &std::cerr;
    context.programPath = tamber::ProgramFilePath();
    return tamber::shell::RunTamber(args, context);
}
