#include <QApplication>

int runAppTests(int argc, char* argv[]);
int runTickTests(int argc, char* argv[]);

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {runAppTests, runTickTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
