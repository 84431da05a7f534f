// Any installation, any date, any clipboard and any stream of characters: the engine
// stays within its states, its display fits, the error state refuses everything but AC,
// and AC always returns it to a zeroed start.

#include <string>

#include "byte_reader.h"
#include "check.h"
#include "engine_properties.h"
#include "targets.h"

namespace fuzzcheck {

namespace {

constexpr std::size_t MaxFolderLength = 320;
constexpr std::size_t MaxRateFileLength = 16;
constexpr std::size_t MaxRoundingFileLength = 8;

// A command byte of this value is no key but a change of the machine, or a wide character.
constexpr std::uint8_t EscapeByte = 0xFE;
enum class Escape : std::uint8_t {
    ToggleClipboardHeld = 0,
    ToggleClipboardMemory = 1,
    ReplaceClipboardText = 2,
    WideCharacter = 3,
};

enum SetupFlag : std::uint8_t {
    KeyPresent = 0x01,
    DataFolderSet = 0x02,
    ProgramFolderSet = 0x04,
    RateFilePresent = 0x08,
    RoundingFilePresent = 0x10,
    ClipboardHasText = 0x20,
    ClipboardHeld = 0x40,
    ClipboardOutOfMemory = 0x80,
};

std::string TakeText(ByteReader& reader, std::size_t length) {
    auto bytes = reader.TakeBytes(length);
    return std::string(bytes.begin(), bytes.end());
}

void SetUp(Machine& machine, ByteReader& reader) {
    const std::uint8_t flags = reader.TakeByte();
    const std::string dataFolder = TakeText(reader, reader.Take<std::uint16_t>() % MaxFolderLength);
    const std::string programFolder = TakeText(reader, reader.TakeByte());
    const std::string rateFile = TakeText(reader, reader.TakeByte() % MaxRateFileLength);
    const std::string roundingFile = TakeText(reader, reader.TakeByte() % MaxRoundingFileLength);
    const std::string clipboardText = TakeText(reader, reader.TakeByte());

    MemoryInstallation& installation = machine.installation;
    installation.keyPresent = (flags & KeyPresent) != 0;
    if ((flags & DataFolderSet) != 0) {
        installation.dataFolder = dataFolder;
    }
    if ((flags & ProgramFolderSet) != 0) {
        installation.programFolder = programFolder;
    }
    // The folder as a C string: the engine sees it up to its first terminator.
    const std::string base(dataFolder.c_str());
    if ((flags & RateFilePresent) != 0) {
        installation.files[base + std::string(RateFileName)] = rateFile;
    }
    if ((flags & RoundingFilePresent) != 0) {
        installation.files[base + std::string(RoundingFileName)] = roundingFile;
    }
    if ((flags & ClipboardHasText) != 0) {
        machine.clipboard.text = clipboardText;
    }
    machine.clipboard.available = (flags & ClipboardHeld) == 0;
    machine.clipboard.memoryLeft = (flags & ClipboardOutOfMemory) == 0;
}

LocalDate TakeDate(ByteReader& reader) {
    const auto year = reader.Take<std::int16_t>();
    const auto month = reader.TakeByte();
    return {year, month};
}

}  // namespace

void CheckEngineCommands(Input input) {
    ByteReader reader(input);
    Machine machine(TakeDate(reader));
    SetUp(machine, reader);
    CalcEngine engine(machine.Platform());
    CheckEngineShape(engine);
    CheckAllCleared(engine);

    while (!reader.Empty()) {
        const std::uint8_t byte = reader.TakeByte();
        if (byte != EscapeByte) {
            CheckedCommand(engine, machine.clipboard, byte);
            continue;
        }
        switch (static_cast<Escape>(reader.TakeByte() % 4)) {
            case Escape::ToggleClipboardHeld:
                machine.clipboard.available = !machine.clipboard.available;
                break;
            case Escape::ToggleClipboardMemory:
                machine.clipboard.memoryLeft = !machine.clipboard.memoryLeft;
                break;
            case Escape::ReplaceClipboardText:
                machine.clipboard.text = TakeText(reader, reader.TakeByte() % 32);
                break;
            case Escape::WideCharacter:
                // The window passes every character message's code, up to 0xFFFF.
                CheckedCommand(engine, machine.clipboard, reader.Take<std::uint16_t>());
                break;
        }
    }
    // However it ended, AC starts afresh.
    CheckedCommand(engine, machine.clipboard, 'A');
}

}  // namespace fuzzcheck
