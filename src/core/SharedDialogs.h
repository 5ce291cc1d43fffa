#pragma once
// Editing dialogs that several kinds share, each built with its caller's texts.
#include <string>

#include "core/EditDialog.h"

namespace qor {

// The rectangle field (parameter 1) and nothing else.
DialogSpec RectangleOnlyDialog(const std::string& label = "&Rectangle");

// The rectangle field and two number fields (parameters 2 and 3), each with a
// variable picker; both number fields show "1" for an empty parameter.
DialogSpec TwoNumberDialog(const std::string& label2, const std::string& label3);

} // namespace qor
