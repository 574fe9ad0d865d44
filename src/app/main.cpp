#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Tickvane"));
  window.resize(1000, 650);
  window.show();
  return app.exec();
}
