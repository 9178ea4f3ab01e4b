#include "MdfLoader.h"

#include "ScriptFileDiskStream.h"

MdfLoadResult loadMdf(const std::string& path)
{
    MdfLoadResult result;
    auto model = std::make_unique<MdfRoot>();
    ScriptFileDiskStream stream(path);
    if (!stream.hasHandle())
    {
        result.status = MdfLoadStatus::CannotOpen;
        result.message = "Couldn't open MDF file";
        result.error = stream.openError();
        return result;
    }
    if (!stream.failed())
        model->read(stream, 0);
    if (stream.failed())
    {
        result.status = MdfLoadStatus::Unreadable;
        result.message = "Couldn't read MDF file " + path + ": " + stream.failureReason() + " at byte " +
                         std::to_string(stream.failureOffset());
        return result;
    }
    result.status = MdfLoadStatus::Loaded;
    result.model = std::move(model);
    return result;
}
