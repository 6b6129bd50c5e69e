// UTF-8, tarnwick's text, to UTF-16, the plug-in's, and back: the
// operating-system edge's conversions (platform/utf8.h).
#pragma once

#include "platform/utf8.h"

namespace tarnwick::cli {

using platform::DecodeUtf8;
using platform::EncodeUtf8;

}  // namespace tarnwick::cli
