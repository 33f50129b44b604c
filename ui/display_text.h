// Screen text of a field that came off the network: one character per byte
// through Windows-1252, with control bytes shown as visible symbols so that
// no byte can break a field's line or hide.
#pragma once

#include <QString>
#include <string>

QString DisplayText(const std::string& bytes);
