#include "desktop_shell.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace platform {
namespace {

constexpr std::intptr_t kDone = 42;
constexpr std::intptr_t kFileNotFound = 2;    // no launcher at all
constexpr std::intptr_t kNoAssociation = 31;  // nothing to open it with
// A launcher still running after this has started the application and
// waits for it: the address was handed over.
constexpr int kLauncherWaitMs = 10000;

}  // namespace

std::intptr_t DesktopShell::ShellExecute(QWidget* /*owner*/,
                                         const std::string& verb,
                                         const std::string& file,
                                         const std::string& /*parameters*/,
                                         const std::string& /*directory*/,
                                         int /*show*/) {
  if (verb != "open") return kNoAssociation;
  const QUrl url = QUrl::fromUserInput(QString::fromStdString(file));
  if (!url.isValid()) return kNoAssociation;
  const QString program = QStandardPaths::findExecutable(launcher_);
  if (program.isEmpty()) return kFileNotFound;

  // Owned by the application, so that a launcher that outlives the wait
  // (it waits for the browser) is neither killed nor leaked.
  auto* launch = new QProcess(QCoreApplication::instance());
  launch->setProgram(program);
  launch->setArguments({url.toString(QUrl::FullyEncoded)});
  launch->setStandardInputFile(QProcess::nullDevice());
  launch->setStandardOutputFile(QProcess::nullDevice());

  QEventLoop wait;
  QObject::connect(launch, &QProcess::finished, &wait, &QEventLoop::quit);
  QObject::connect(launch, &QProcess::errorOccurred, &wait,
                   [&wait](QProcess::ProcessError e) {
                     if (e == QProcess::FailedToStart) wait.quit();
                   });
  QTimer::singleShot(kLauncherWaitMs, &wait, &QEventLoop::quit);
  launch->start();
  if (launch->state() != QProcess::NotRunning) wait.exec();

  if (launch->state() != QProcess::NotRunning) {
    QObject::connect(launch, &QProcess::finished, launch,
                     &QObject::deleteLater);
    return kDone;
  }
  const bool handedOver = launch->error() != QProcess::FailedToStart &&
                          launch->exitStatus() == QProcess::NormalExit &&
                          launch->exitCode() == 0;
  launch->deleteLater();
  return handedOver ? kDone : kNoAssociation;
}

}  // namespace platform
