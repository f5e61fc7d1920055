// The master-data lists as the main window's working windows (side-bar tags 10, 11, 12),
// and the code-table picker behind the goods dialog's category, origin and unit fields.
#pragma once

namespace kvl {

void RegisterMasterDataWindows();

} // namespace kvl
