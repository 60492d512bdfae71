#include "runtests.h"

int runSettingsTests(int argc, char* argv[]);
int runForm2Tests(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    return runTests(argc, argv, {runSettingsTests, runForm2Tests});
}
