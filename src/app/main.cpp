#include "app/ui/ProgramStartup.h"

int main(int argc, char* argv[])
{
    return RunProgram(argc, argv);
}
