#include "skinwriter.h"

#include "skinmaker/core/skincheck.h"
#include "skinmaker/words/checkwords.h"
#include "skinmaker/words/notices.h"

#include "platform/core/textfile.h"
#include "platform/widgets/fields.h"
#include "platform/widgets/notice.h"

#include <QLineEdit>

namespace skinmaker::authoring {

bool appendBlock(const core::SkinLocation &location, const QStringList &block, const QList<QLineEdit *> &boxes,
                 QString *warning)
{
    QList<platform::textfile::LabelledText> fields;
    for (const QLineEdit *box : boxes)
        fields << platform::textfile::LabelledText{platform::fieldName(box), box->text()};

    const platform::textfile::PreparedText prepared = core::prepareBlock(location, block, fields);
    if (!prepared.ready()) {
        platform::notice(words::writeNotice(prepared.outcome));
        return false;
    }

    // The notice offers no way back: however it is closed, the write goes on.
    platform::notice(words::aboutToWriteNotice(prepared.outcome.path));

    // What the file held before, as far as the checker reads one: the client would read only the
    // first of two sections of one name.
    const QByteArray existing =
        platform::textfile::readStartOfFile(prepared.nativePath, core::skinIniReadLimit).value_or(QByteArray());
    const platform::textfile::WriteOutcome outcome = platform::textfile::appendPrepared(prepared);
    if (!outcome.ok()) {
        platform::notice(words::writeNotice(outcome));
        return false;
    }
    if (warning)
        *warning = words::repeatedSectionsWarning(core::repeatedSections(existing, prepared.bytes));
    return true;
}

} // namespace skinmaker::authoring
