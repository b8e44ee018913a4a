#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orvo Browser");
    QMainWindow window;
    window.setWindowTitle("Orvo Browser");
    window.setCentralWidget(new QLabel(QObject::tr("Orvo Browser"), &window));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
