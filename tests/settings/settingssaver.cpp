// Saves the colours into a program folder over and over, set A then set B, until it is killed.
// Each save that has finished is reported with a dot on standard output.

#include "settingsfile.h"
#include "twocolorsets.h"

#include <QFile>
#include <unistd.h>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    const QString programFolder = QFile::decodeName(argv[1]);
    for (bool a = true;; a = !a) {
        if (!SaveSettings(a ? kColorsA : kColorsB, programFolder))
            return 1;
        // Unbuffered, so a kill loses no report of a finished save. Once the test is gone the
        // write fails and the loop ends.
        if (::write(STDOUT_FILENO, ".", 1) != 1)
            return 1;
    }
}
