#include "settings/OptionsStore.h"

#include <QApplication>
#include <QTemporaryDir>

int RunSearchWindowTests(int argc, char** argv);
int RunSelectionDialogTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // One data directory for both suites: the main frame checks that the
    // options file it was loaded from is still there.
    QTemporaryDir home;
    qputenv("ORVO_HOME", home.path().toUtf8());
    orvo::LoadOptions(orvo::OptionsFilePath(home.path().toStdString()));
    int failed = RunSearchWindowTests(argc, argv);
    failed += RunSelectionDialogTests(argc, argv);
    return failed;
}
