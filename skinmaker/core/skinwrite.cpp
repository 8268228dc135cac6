#include "skinwrite.h"

#include "platform/core/winpath.h"

namespace skinmaker::core {

using platform::textfile::WriteOutcome;

platform::textfile::PreparedText prepareBlock(const SkinLocation &location, const QStringList &block,
                                              const QList<platform::textfile::LabelledText> &fields)
{
    using platform::textfile::refused;
    if (location.installPath.isEmpty())
        return refused(WriteOutcome::NoInstallPath);

    const std::optional<QString> path = skinIniPath(location);
    if (!path)
        return refused(WriteOutcome::NoVersion);

    if (!isUsableFolderName(location.skinName)) {
        platform::textfile::PreparedText prepared = refused(WriteOutcome::UnusableSkinName, *path);
        // The notice names what cannot be seen; the rule it states shows only what can.
        if (const QList<char32_t> hidden = hiddenCharacters(location.skinName); !hidden.isEmpty())
            prepared.outcome.fields << platform::textfile::FieldProblem{{}, hidden};
        return prepared;
    }
    return platform::textfile::prepareLines(*path, platform::nativePath(*path), block, fields);
}

} // namespace skinmaker::core
