// Writes sekreta-cli.1 at build time, from the program's own command definitions.
#include "cli/ManPage.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: sekreta-cli-manpage OUTPUT\n";
        return 1;
    }
    sekreta::cli::Arguments arguments;
    const sekreta::cli::CommandParser parser(arguments);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << sekreta::cli::ManPage(parser);
    out.close();
    if (!out) {
        std::cerr << "sekreta-cli-manpage: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
