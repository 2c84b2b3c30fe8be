// Feeds arbitrary bytes to the shortcut (".lnk") reader, from memory and from a file: refusal
// is fine, a crash or a sanitizer report is not; a link that reads names a target, and the
// file gives the target the bytes give.
#include "shell/ShellLink.h"
#include "fuzz/FuzzTempFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    glimt::ShellLinkTarget target;
    const bool read = glimt::ReadShellLink(bytes, target);
    if (read && target.RelativePath.isEmpty() && target.LocalBasePath.isEmpty())
        std::abort();
    // Files larger than a link can be are refused before they are parsed.
    if (size > (std::size_t(1) << 20))
        return 0;
    const QString link = glimt::fuzz::WriteTempFile(QStringLiteral("in.lnk"), data, size);
    if (glimt::ResolveShortcutPath(link).isEmpty() == read)
        std::abort();
    return 0;
}
