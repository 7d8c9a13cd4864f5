#include "toolkit/IMultiBitmapControl.h"

#include "toolkit/CView.h"

namespace toolkit {

void IMultiBitmapControl::autoComputeFrameHeight() {
    if (CView* view = dynamic_cast<CView*>(this)) frameHeight = view->getViewRect().height();
}

}  // namespace toolkit
