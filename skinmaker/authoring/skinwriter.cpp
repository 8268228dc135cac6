#include "skinwriter.h"

#include "skinmaker/words/notices.h"

#include "platform/widgets/fields.h"
#include "platform/widgets/notice.h"

#include <QLineEdit>

namespace skinmaker::authoring {

namespace {

LocationSource &locationSource()
{
    static LocationSource source;
    return source;
}

} // namespace

void setLocationSource(LocationSource source)
{
    locationSource() = std::move(source);
}

core::SkinLocation currentLocation()
{
    return locationSource() ? locationSource()() : core::SkinLocation{};
}

bool appendBlock(const core::SkinLocation &location, const QStringList &block, const QList<QLineEdit *> &boxes)
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

    const platform::textfile::WriteOutcome outcome = platform::textfile::appendPrepared(prepared);
    if (!outcome.ok()) {
        platform::notice(words::writeNotice(outcome));
        return false;
    }
    return true;
}

} // namespace skinmaker::authoring
