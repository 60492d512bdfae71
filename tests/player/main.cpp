#include <QApplication>

int runMMControlTests(int argc, char* argv[]);
int runSdlAudioSinkTests(int argc, char* argv[]);
int runDriveTableTests(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runMMControlTests, runSdlAudioSinkTests, runDriveTableTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
