#include <QApplication>
#include <QLabel>

// Placeholder until the game window lands.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Morvel"));
    window.setWindowTitle(QStringLiteral("Morvel"));
    window.resize(320, 200);
    window.show();
    return app.exec();
}
