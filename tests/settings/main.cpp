#include <QApplication>

int runSettingsTests(int argc, char* argv[]);
int runForm2Tests(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runSettingsTests, runForm2Tests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
