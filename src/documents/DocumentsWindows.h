// The side bar's business item: 办理业务 (tag 0).
#pragma once

namespace kvl {

void RegisterDocumentsWindows();

} // namespace kvl
