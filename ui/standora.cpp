// Standora: watches HSRP hellos on the local segment.
#include <QIcon>
#include <exception>

#include "Details_dlg.h"
#include "Main.h"
#include "application.h"
#include "desktop_shell.h"
#include "linux_socket_layer.h"
#include "qt_dialogs.h"
#include "qt_message_box.h"
#include "version_info.h"

int main(int argc, char** argv) {
  const QByteArray platform =
      PlatformFor(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"));
  if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform);
  Application app(argc, argv);
  app.setApplicationName(QString::fromLatin1(kApplicationTitle));
  app.setApplicationVersion(QString::fromLatin1(version_info::kProductVersion));
  app.setOrganizationName(QString::fromLatin1(version_info::kCompanyName));
  app.setWindowIcon(QIcon(QStringLiteral(":/MAINICON.png")));

  platform::LinuxSocketLayer sockets;
  platform::QtMessageBoxes boxes;
  platform::QtDialogs dialogs(kApplicationTitle);
  platform::DesktopShell shell;
  app.SetDialogs(&dialogs);

  try {
    TfrmMain main(Services{sockets, boxes, dialogs, shell});
    frmMain = &main;
    TfrmTracking tracking(main.trackingRows());
    frmTracking = &tracking;
    main.show();
    app.exec();
  } catch (const std::exception& e) {
    app.ShowException(e.what());
  }
  return 0;
}
