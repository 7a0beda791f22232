#include "cli/CliCommands.h"

int main(int argc, char** argv)
{
    return CliCommands::run(argc, argv);
}
