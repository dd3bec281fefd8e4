// The module's count of live objects, for the module's sources the host
// builds in (the review window names its list through an accessible object
// that counts itself). The host is no module that could be unloaded, so
// there is nothing to count.
#include "platform/win32/ocx_module.h"

namespace qta1::win32 {

void ObjectCreated() {}
void ObjectDestroyed() {}

}  // namespace qta1::win32
