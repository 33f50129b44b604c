// Screen text of a field that came off the network: one character per byte
// through Windows-1252, with the bytes it has no visible character for
// (control bytes, its unassigned ones, the no-break space and the soft
// hyphen) shown as symbols of their own, all of which the windows' fonts
// have, so that no byte can break a field's line, hide or show as a box.
#pragma once

#include <QString>
#include <string>

QString DisplayText(const std::string& bytes);

// The bytes that DisplayText shows as `text`: its inverse for every text it
// makes (each byte has a character of its own). A character it never makes
// becomes '?'.
std::string FromDisplayText(const QString& text);
