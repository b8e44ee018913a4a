#include "settings/OptionsStore.h"

#include <QApplication>
#include <QTemporaryDir>

int RunSearchWindowTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The search window reads and writes its options in a data directory
    // of the test's own, never the user's.
    QTemporaryDir home;
    qputenv("ORVO_HOME", home.path().toUtf8());
    orvo::LoadOptions(orvo::OptionsFilePath(home.path().toStdString()));
    return RunSearchWindowTests(argc, argv);
}
