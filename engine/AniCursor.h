#pragma once
#include <QByteArray>

#include <vector>

namespace glimt {

// The frames of an animated cursor (a RIFF file of form "ACON"): the "icon" chunks of its
// "fram" list, each an icon or cursor file, in file order. False when the bytes are not an
// animated cursor. Chunk sizes are checked against the data (the RIFF header's own size is
// ignored, the chunks run to the end of the data); a chunk cut short ends the walk with the
// frames read so far. Some writers misstate the size of a list chunk: when the
// stated size leads to something that is not a chunk header but the list's own sub-chunks end
// at a chunk header, the walk goes on from there.
bool ReadAniFrames(const QByteArray& bytes, std::vector<QByteArray>& frames);

} // namespace glimt
