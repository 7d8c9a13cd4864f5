#include "toolkit/Messages.h"

namespace toolkit {

const char kMsgCheckIfViewContainer[] = "kMsgCheckIfViewContainer";
const char kMsgNewFocusView[] = "kMsgNewFocusView";
const char kMsgOldFocusView[] = "kMsgOldFocusView";

}  // namespace toolkit
