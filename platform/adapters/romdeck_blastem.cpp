// Plays a ROM in BlastEm from a KGen or Genecyst command line of Romdeck's.
#include "platform/adapters/adapter_run.h"
#include "platform/adapters/emulator_search.h"

int main(int argc, char **argv)
{
    return RunAdapter(argc, argv, kBlastEmAdapter, BlastEmCommand, EmulatorSearchPath());
}
