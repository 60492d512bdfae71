#include "runtests.h"

int runAppTests(int argc, char* argv[]);
int runTickTests(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    return runTests(argc, argv, {runAppTests, runTickTests});
}
