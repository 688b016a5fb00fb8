#pragma once

namespace zt {

// Why a clip or one of its frames could not be delivered.
enum class FrameError {
    None,
    CannotOpen,    // not a file FFmpeg can read
    NoVideoStream, // no video stream in it
    NoDecoder,     // no decoder for the video stream, or it cannot start
    OutOfRange,    // frame number below 0 or past the end
    DecodeFailed,  // the frame could not be decoded
    NoPicture,     // nothing in the clip decodes, or the frame comes before its first picture
    TooLarge,      // the decoder's picture is larger than a picture can be here
};

} // namespace zt
