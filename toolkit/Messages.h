// Notification message texts passed to CBaseObject::notify. A receiver
// compares the address, not the characters: only these very objects carry
// the message, a copy of the text does not.
#pragma once

namespace toolkit {

extern const char kMsgCheckIfViewContainer[];
extern const char kMsgNewFocusView[];
extern const char kMsgOldFocusView[];

}  // namespace toolkit
