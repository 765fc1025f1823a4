#include "app/ui/ProgramStartup.h"
#include "platform/HeapSettings.h"

int main(int argc, char* argv[])
{
    KeepFreedHeapMemory();
    return RunProgram(argc, argv);
}
