#include "toolkit/GraphicsBackend.h"

namespace toolkit {

GraphicsBackend::~GraphicsBackend() = default;

}  // namespace toolkit
