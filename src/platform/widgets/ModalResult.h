// The close codes the program's dialogs end with; values as the dialogs have always used them.
#pragma once

namespace kvl {

// QDialog::Rejected (0) is "no result"; QDialog::Accepted (1) is the same as Ok.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

} // namespace kvl
