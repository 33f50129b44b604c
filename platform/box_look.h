// The look every box of the program shares with its windows: the
// application's font throughout (not the platform's own font for message
// texts) and buttons with words only, no icons.
#pragma once

class QMessageBox;

namespace platform {

void GiveWindowsLook(QMessageBox* box);

}  // namespace platform
