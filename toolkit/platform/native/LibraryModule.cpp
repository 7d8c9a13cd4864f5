#include "toolkit/LibraryModule.h"

namespace toolkit {

namespace {
void* module = nullptr;
}  // namespace

void setLibraryModule(void* m) { module = m; }
void* libraryModule() { return module; }

}  // namespace toolkit
