#include "fields.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>

namespace platform {

void keepWholeText(QLineEdit *box)
{
    box->setMaxLength(std::numeric_limits<int>::max());
}

void nameField(QLineEdit *box, QLabel *caption, const QStringList &frames)
{
    caption->setBuddy(box);
    box->setAccessibleName((QStringList(frames) << caption->text()).join(u' '));
    keepWholeText(box);
}

QString fieldName(const QLineEdit *box)
{
    return box->accessibleName();
}

} // namespace platform
