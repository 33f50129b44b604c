// Screen text of a field that came off the network: one character per byte
// through Windows-1252, with control bytes shown as visible symbols so that
// no byte can break a field's line or hide.
#pragma once

#include <QString>
#include <string>

QString DisplayText(const std::string& bytes);

// The bytes that DisplayText shows as `text`: its inverse for every text it
// makes. A character it never makes becomes '?'.
std::string FromDisplayText(const QString& text);
