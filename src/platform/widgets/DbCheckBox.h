// Data-aware check box: ticked stores True, not ticked False; a NULL shows unticked.
#pragma once

#include "DataLink.h"

#include <QCheckBox>

namespace kvl {

class DbCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit DbCheckBox(const QString &text = QString(), QWidget *parent = nullptr);

    void bind(Dataset *dataset, const QString &field);
    DataLink *dataLink() const { return m_link; }

protected:
    // A click changes the record first; the box shows what the record then holds.
    void nextCheckState() override;

private:
    void showValue();

    DataLink *m_link;
};

} // namespace kvl
