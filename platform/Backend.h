// Internal to the platform layer: what the shared code asks of a backend.
#pragma once

#include <string>

#include "platform/Alert.h"
#include "platform/Shell.h"

namespace tuho {

// Shows a real box (or prints one where there is no desktop).
int showSystemAlert(const std::string& text, const std::string& caption, AlertButtons buttons);

// Carries out a shell verb for real.
void runShellVerb(const ShellRequest& request);

// Replaces every UTF-16 surrogate, paired or not, with one '?'.
std::u16string withoutSurrogates(const std::u16string& text);

}  // namespace tuho
