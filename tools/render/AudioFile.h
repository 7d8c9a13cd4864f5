// Reading and writing the render tool's audio files, a block at a time.
//
// WAV files go through libsndfile: 16- and 24-bit PCM and 32-bit float, mono
// or stereo (mono is read as the same signal on both channels). PCM samples
// are converted here, exactly: a PCM sample read and written again comes back
// unchanged (libsndfile's own float conversion scales reading and writing
// differently). Floats written to PCM are rounded to the nearest step and
// limited to full scale; the writer counts the samples it had to limit.
//
// A path ending in ".f32" is raw audio instead: little-endian 32-bit floats,
// two channels interleaved, no header.
//
// An output file is written under a temporary name in its own folder and
// renamed to its real name only when it is complete, so a failed or
// interrupted render never leaves a partial file in the output's place.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/render/RenderOptions.h"

namespace render {

bool isRawPath(const std::string& path);

class AudioInput {
public:
    virtual ~AudioInput() = default;
    // Reads up to frames stereo frames; returns how many, 0 at the end, -1 on
    // a read error (error then says what).
    virtual long long read(float* left, float* right, long long frames, std::string& error) = 0;

    int rate = 44100;                          // Hz; 0 for raw input (unknown)
    long long totalFrames = -1;                // -1 when unknown
    SampleFormat format = SampleFormat::Float;
};

// Opens a WAV or raw input. Null on failure, with a one-line error.
std::unique_ptr<AudioInput> openAudioInput(const std::string& path, std::string& error);

class AudioOutput {
public:
    virtual ~AudioOutput();  // removes the temporary file unless committed
    // Appends frames stereo frames.
    virtual bool write(const float* left, const float* right, long long frames,
                       std::string& error) = 0;
    // Completes the file and gives it its real name.
    bool commit(std::string& error);

    long long clippedSamples = 0;  // PCM samples limited to full scale

protected:
    virtual bool close(std::string& error) = 0;

    friend std::unique_ptr<AudioOutput> openAudioOutput(const std::string&, int, SampleFormat,
                                                        std::string&);

    std::string finalPath;
    std::string temporaryPath;
    bool committed = false;
};

// Creates OUTPUT's temporary file: raw for a ".f32" path, otherwise a WAV file
// at rate Hz in format (Auto: 32-bit float).
std::unique_ptr<AudioOutput> openAudioOutput(const std::string& path, int rate,
                                             SampleFormat format, std::string& error);

// True when a and b name the same file (after following links), or when b
// does not exist yet but would be created as the file a names.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace render
