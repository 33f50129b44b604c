#include "desktop_shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace platform {
namespace {

constexpr std::intptr_t kDone = 42;
constexpr std::intptr_t kNoAssociation = 31;  // nothing to open it with

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
  return QDesktopServices::openUrl(url) ? kDone : kNoAssociation;
}

}  // namespace platform
