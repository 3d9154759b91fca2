// One running instance per user: a local server named Tallymon. A second start connects to it,
// asks the first instance to bring its main window to the front, and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace paylark::app {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // `name` is the server's name; tests pass their own so they never meet a running program.
  explicit SingleInstance(QString name = DefaultName(), QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when another instance answered; it has been asked to come to the front.
  bool AnotherIsRunning();
  // Starts listening; false when the server cannot be created.
  bool Listen();

  static QString DefaultName();

 signals:
  // A second start asked this instance to show its main window.
  void RaiseRequested();

 private:
  QString name_;
  QLocalServer* server_ = nullptr;
};

}  // namespace paylark::app
