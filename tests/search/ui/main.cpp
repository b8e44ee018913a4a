#include <QApplication>

int RunSearchWindowTests(int argc, char** argv);
int RunSelectionDialogTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = RunSearchWindowTests(argc, argv);
    failed += RunSelectionDialogTests(argc, argv);
    return failed;
}
