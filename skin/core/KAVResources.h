#pragma once

namespace Kav {
// Makes sure the pictures and strings compiled into the skin library are registered. The picture
// store calls it on first use; a program needs to call it itself only to read the library's
// resources (":/looks/...", ":/strings/...") before any skinned control exists. Calling it again
// does nothing.
void KavInitResources();
} // namespace Kav
