#include "runtests.h"

int runMMControlTests(int argc, char* argv[]);
int runSdlAudioSinkTests(int argc, char* argv[]);
int runDriveTableTests(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    return runTests(argc, argv, {runMMControlTests, runSdlAudioSinkTests, runDriveTableTests});
}
