#include <QApplication>

int RunQuickViewTests(int argc, char** argv);
int RunImageViewerTests(int argc, char** argv);
int RunTextViewerTests(int argc, char** argv);
int RunMediaPlayerTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = RunQuickViewTests(argc, argv);
    failed += RunImageViewerTests(argc, argv);
    failed += RunTextViewerTests(argc, argv);
    failed += RunMediaPlayerTests(argc, argv);
    return failed;
}
