-- Wireshark dissector for the UDP frames between ARX and a conference-audio installation: the
-- microphone units' frames ('%', letter, fields, '#') and the loudspeaker processor's
-- (AA 55, length, command, data, A5). Installed with ARX where Wireshark loads its global Lua
-- plugins; by hand: wireshark -X lua_script:arx.lua (or tshark).
--
-- The Info column words each frame as ARX's journal does. Units and ARX both use port 39030
-- and the processor answers ARX's port too, so the framing is told by the first bytes, the
-- direction by the letter (or, for the processor, by which side has port 39060).

local arx = Proto("arx", "ARX conference audio")

local UnitPort, SearchPort, ProcessorPort = 39030, 9000, 39060

-- Names of codes, as the pages show them.
local Modes = { [0] = "OFF", "ON", "PTT", "PTM" }
local Colours = { [0] = "black", "red", "green", "yellow", "blue", "magenta", "cyan",
    "light blue" }
local Shapes = { [0] = "peaking", "low shelf", "high shelf" }
local Channels = { [0] = "A", "B" }
local LevelTargets = { [0] = "main", "A", "B" }
local Phases = { [0] = "normal", "inverted" }
local CrossoverTypes = { [0] = "Butterworth 1", "Butterworth 2", "Bessel 2", "Linkwitz 2",
    "Variable" }
local FamilyNames = { "ARN1", "VEL-K", "PXL2", "ARN1", "VEL-K" }

-- Fields ----------------------------------------------------------------------------------

local F = {
    unit_letter = ProtoField.string("arx.unit.letter", "Letter"),
    unit_gain = ProtoField.uint8("arx.unit.gain", "Gain code"),
    unit_lowcut = ProtoField.uint8("arx.unit.lowcut", "Low cut"),
    unit_phantom = ProtoField.uint8("arx.unit.phantom", "48 V"),
    unit_mute = ProtoField.uint8("arx.unit.mute", "Mute"),
    unit_locate = ProtoField.uint8("arx.unit.locate", "Locate"),
    unit_mode = ProtoField.uint8("arx.unit.mode", "Mode"),
    unit_code = ProtoField.string("arx.unit.code", "Code"),
    unit_colour_open = ProtoField.uint24("arx.unit.colour.open", "Colour open", base.HEX),
    unit_colour_mute = ProtoField.uint24("arx.unit.colour.mute", "Colour mute", base.HEX),
    unit_colour_call = ProtoField.uint24("arx.unit.colour.call", "Colour call", base.HEX),
    unit_attach = ProtoField.uint8("arx.unit.attach", "Attach", base.DEC,
        { [0] = "detach", [1] = "attach" }),
    unit_reply_port = ProtoField.uint16("arx.unit.reply_port", "Answer to port"),
    unit_reply_address = ProtoField.ipv4("arx.unit.reply_address", "Answer to address"),
    unit_address = ProtoField.ipv4("arx.unit.address", "Address (not used)"),
    unit_name_length = ProtoField.uint8("arx.unit.name_length", "Name length"),
    unit_name = ProtoField.string("arx.unit.name", "Name", base.UNICODE),
    unit_type = ProtoField.uint8("arx.unit.type", "Unit type", base.DEC, FamilyNames),
    unit_level = ProtoField.uint8("arx.unit.level", "Level"),
    eq_head_q = ProtoField.int8("arx.unit.eqhead.q", "Equaliser head Q code"),
    eq_head_shape = ProtoField.int8("arx.unit.eqhead.shape", "Equaliser head shape"),
    eq_head_enabled = ProtoField.int8("arx.unit.eqhead.enabled", "Equaliser head enabled"),
    eq_head_spare = ProtoField.int8("arx.unit.eqhead.spare", "Equaliser head spare"),
    eq_band = ProtoField.uint8("arx.unit.eq.band", "Band (0..3, 4 the low cut)"),
    eq_enabled = ProtoField.uint8("arx.unit.eq.enabled", "Enabled"),
    eq_shape = ProtoField.uint8("arx.unit.eq.shape", "Shape", base.DEC, Shapes),
    eq_frequency = ProtoField.uint16("arx.unit.eq.frequency", "Frequency (Hz)"),
    eq_q = ProtoField.uint16("arx.unit.eq.q", "Q x 100"),
    eq_gain = ProtoField.uint16("arx.unit.eq.gain", "Gain code (dB x 10 + 300)"),
    eq_lowcut_frequency = ProtoField.uint16("arx.unit.lowcut.frequency", "Low cut frequency (Hz)"),
    eq_lowcut_shape = ProtoField.uint16("arx.unit.lowcut.shape", "Low cut shape"),
    b0 = ProtoField.double("arx.coef.b0", "b0"),
    b1 = ProtoField.double("arx.coef.b1", "b1"),
    b2 = ProtoField.double("arx.coef.b2", "b2"),
    a1 = ProtoField.double("arx.coef.a1", "-a1"),
    a2 = ProtoField.double("arx.coef.a2", "-a2"),
    proc_length = ProtoField.uint8("arx.proc.length", "Length"),
    proc_command = ProtoField.uint8("arx.proc.command", "Command", base.HEX),
    proc_channel = ProtoField.uint8("arx.proc.channel", "Channel", base.DEC, Channels),
    proc_band = ProtoField.uint8("arx.proc.band", "Band"),
    proc_frequency = ProtoField.uint16("arx.proc.frequency", "Frequency (Hz)"),
    proc_q = ProtoField.uint16("arx.proc.q", "Q x 10"),
    proc_gain = ProtoField.uint16("arx.proc.gain", "Gain code (dB x 10 + 180)"),
    proc_type = ProtoField.uint8("arx.proc.type", "Crossover type", base.DEC, CrossoverTypes),
    proc_type_q = ProtoField.uint16("arx.proc.type_q", "Crossover Q x 10"),
    proc_ratio = ProtoField.uint16("arx.proc.ratio", "Ratio x 10"),
    proc_threshold = ProtoField.uint8("arx.proc.threshold", "Threshold (-dB)"),
    proc_attack = ProtoField.uint8("arx.proc.attack", "Attack (ms)"),
    proc_release = ProtoField.uint8("arx.proc.release", "Release (ms)"),
    dyn_average = ProtoField.double("arx.proc.dyn.average", "Averaging"),
    dyn_average_rest = ProtoField.double("arx.proc.dyn.average_rest", "1 - averaging"),
    dyn_attack = ProtoField.double("arx.proc.dyn.attack", "Attack factor"),
    dyn_attack_rest = ProtoField.double("arx.proc.dyn.attack_rest", "1 - attack factor"),
    dyn_release = ProtoField.double("arx.proc.dyn.release", "Release factor"),
    dyn_release_rest = ProtoField.double("arx.proc.dyn.release_rest", "1 - release factor"),
    dyn_threshold = ProtoField.double("arx.proc.dyn.threshold", "Threshold word"),
    dyn_slope = ProtoField.double("arx.proc.dyn.slope", "Slope (1 / ratio - 1)"),
    dyn_constant = ProtoField.double("arx.proc.dyn.constant", "Constant (2/31)"),
    proc_level_target = ProtoField.uint8("arx.proc.level.target", "Level of", base.DEC,
        LevelTargets),
    proc_level = ProtoField.uint8("arx.proc.level", "Level code (24 dB - code / 2)"),
    proc_phase = ProtoField.uint8("arx.proc.phase", "Phase", base.DEC, Phases),
    proc_name = ProtoField.string("arx.proc.name", "Name", base.UNICODE),
    proc_reply_port = ProtoField.uint16("arx.proc.reply_port", "Port"),
    proc_reply_address = ProtoField.ipv4("arx.proc.reply_address", "Answer to address"),
}
arx.fields = F

local misfit = ProtoExpert.new("arx.misfit", "Frame does not fit its kind",
    expert.group.PROTOCOL, expert.severity.WARN)
arx.experts = { misfit }

-- Texts, worded as ARX's journal words them ----------------------------------------------

-- Wireshark's Lua (5.2) has no integer division.
local function quotient(a, b) return math.floor(a / b) end

local function onOff(value)
    if value == 0 then return "off" elseif value == 1 then return "on" end
    return tostring(value)
end

local function signedDb(db)
    if db > 0 then return string.format("+%ddB", db) end
    return string.format("%ddB", db)
end

-- Tenths of a dB: "+1.5 dB", "-3.0 dB", "0.0 dB".
local function tenthsDb(tenths)
    local sign = tenths > 0 and "+" or (tenths < 0 and "-" or "")
    local magnitude = math.abs(tenths)
    return string.format("%s%d.%d dB", sign, quotient(magnitude, 10), magnitude % 10)
end

-- A Q code with `scale` steps per unit, with as many decimals as the code has.
local function qText(code, scale)
    if scale == 100 and code % 10 ~= 0 then
        return string.format("%d.%02d", quotient(code, 100), code % 100)
    end
    local tenths = scale == 100 and quotient(code, 10) or code
    return string.format("%d.%d", quotient(tenths, 10), tenths % 10)
end

-- Gain codes: ARN1 keeps the list index (3 dB steps from 0), VEL-K the index from -6 dB,
-- PXL2 the dB value.
local function gainText(unitType, code)
    if unitType == 1 or unitType == 4 then return signedDb(3 * code) end
    if unitType == 2 or unitType == 5 then return signedDb(3 * code - 6) end
    if unitType == 3 then return signedDb(code) end
    return string.format("code %d", code)
end

local function named(names, value, otherwise)
    return names[value] or string.format(otherwise, value)
end

-- Reading ---------------------------------------------------------------------------------
-- Every reader is called only after the frame's length was checked.

local function byte(tvb, at) return tvb(at, 1):uint() end
local function word(tvb, at) return tvb(at, 2):uint() end

-- GBK text up to its first NUL, as UTF-8.
local function text(tvb, at, length)
    if length <= 0 then return "" end
    local raw = tvb(at, length):raw()
    local nul = raw:find("\0", 1, true)
    if nul then raw = raw:sub(1, nul - 1) end
    if not raw:find("[\128-\255]") then return raw end
    -- TvbRange:string() cuts the decoded text to as many bytes as the range has, so Chinese
    -- (three UTF-8 bytes for two GBK bytes) would lose its end: decode a copy ending in NUL.
    local copy = ByteArray.new(raw, true)
    copy:append(ByteArray.new("00"))
    return copy:tvb("GBK text")():stringz(ENC_GB18030)
end

-- The 5.23 fixed-point words of the processor: `bits` 28 when the top nibble was masked off.
local function fixed5_23(tvb, at, bits)
    local value = tvb(at, 4):uint()
    if bits == 28 then value = value % 2 ^ 28 end
    if value >= 2 ^ (bits - 1) then value = value - 2 ^ bits end
    return value / 2 ^ 23
end

-- The units' 3.21 words: 24-bit two's complement.
local function fixed3_21(tvb, at)
    local value = tvb(at, 3):uint()
    if value >= 2 ^ 23 then value = value - 2 ^ 24 end
    return value / 2 ^ 21
end

-- What the capture has told so far of each unit's type, by address: gain codes read by
-- family. Each frame keeps what was known when it was first dissected.
local unitTypes, frameTypes = {}, {}

function arx.init()
    unitTypes, frameTypes = {}, {}
end

local function unitTypeOf(pinfo, address, announced)
    if not pinfo.visited then
        if announced then unitTypes[address] = announced end
        frameTypes[pinfo.number] = unitTypes[address] or 0
    end
    return frameTypes[pinfo.number] or 0
end

-- Unit frames -----------------------------------------------------------------------------

local function addWithText(tree, field, range, note)
    tree:add(field, range):append_text(" (" .. note .. ")")
end

-- gain, low cut, [48V,] mute, locate, mode from `at` on.
local function settings(tvb, tree, at, phantom, unitType)
    local gain, lowCut = byte(tvb, at), byte(tvb, at + 1)
    addWithText(tree, F.unit_gain, tvb(at, 1), gainText(unitType, gain))
    tree:add(F.unit_lowcut, tvb(at + 1, 1))
    local words = "gain " .. gainText(unitType, gain) .. ", low cut " .. onOff(lowCut)
    local next = at + 2
    if phantom then
        tree:add(F.unit_phantom, tvb(next, 1))
        words = words .. ", 48V " .. onOff(byte(tvb, next))
        next = next + 1
    end
    local mode = byte(tvb, next + 2)
    tree:add(F.unit_mute, tvb(next, 1))
    tree:add(F.unit_locate, tvb(next + 1, 1))
    addWithText(tree, F.unit_mode, tvb(next + 2, 1), named(Modes, mode, "%d"))
    return words .. ", mute " .. onOff(byte(tvb, next)) .. ", locate " .. onOff(byte(tvb, next + 1))
        .. ", mode " .. named(Modes, mode, "%d")
end

local function code(tvb, tree, at)
    local value = text(tvb, at, 8)
    tree:add(F.unit_code, tvb(at, 8), value)
    return value
end

local ColourFields = { F.unit_colour_open, F.unit_colour_mute, F.unit_colour_call }

-- Three colours as list indexes (one byte each) or as 24-bit values, red in the low byte.
local function colours(tvb, tree, at, wideColours)
    local words = {}
    for k = 1, 3 do
        if wideColours then
            local start = at + 3 * (k - 1)
            local rgb = string.format("#%02X%02X%02X", byte(tvb, start), byte(tvb, start + 1),
                byte(tvb, start + 2))
            tree:add_le(ColourFields[k], tvb(start, 3)):append_text(" (" .. rgb .. ")")
            words[k] = rgb
        else
            local index = byte(tvb, at + k - 1)
            tree:add(ColourFields[k], tvb(at + k - 1, 1), index)
                :append_text(" (" .. named(Colours, index, "colour %d") .. ")")
            words[k] = named(Colours, index, "colour %d")
        end
    end
    return "colours open " .. words[1] .. ", mute " .. words[2] .. ", call " .. words[3]
end

local function bandText(band, frequency, q, gain, shape)
    return string.format("EQ band %d: %d Hz, Q %s, %s, %s", band, frequency, qText(q, 100),
        tenthsDb(gain - 300), named(Shapes, shape, "shape %d"))
end

-- The port (most significant byte first) and the four address bytes that 'C' and 07 carry.
local function replyAddress(tvb, tree, at, portField, addressField, separator)
    tree:add(portField, tvb(at, 2))
    tree:add(addressField, tvb(at + 2, 4))
    return string.format("%d.%d.%d.%d%s%d", byte(tvb, at + 2), byte(tvb, at + 3),
        byte(tvb, at + 4), byte(tvb, at + 5), separator, word(tvb, at))
end

local function coefficients(tvb, tree, at, fields, decode, step)
    for k, field in ipairs(fields) do
        local start = at + (k - 1) * step
        tree:add(field, tvb(start, step), decode(tvb, start))
    end
end

local NameLengthAt, NameAt = 8, 9

local NarrowVariants = {
    { extra = 27, type = 1, phantom = true, codeAndColours = true },
    { extra = 16, type = 4, phantom = true, codeAndColours = false },
    { extra = 26, type = 2, phantom = false, codeAndColours = true },
    { extra = 15, type = 5, phantom = false, codeAndColours = false },
}

local function announcementHead(tvb, tree, pinfo, unitType)
    local length = byte(tvb, NameLengthAt)
    tree:add(F.unit_address, tvb(4, 4))
    tree:add(F.unit_name_length, tvb(NameLengthAt, 1))
    local name = text(tvb, NameAt, length)
    tree:add(F.unit_name, tvb(NameAt, length), name)
    tree:add(F.unit_type, unitType):set_generated()
    unitTypeOf(pinfo, tostring(pinfo.src), unitType)
    return string.format("announcement %s \"%s\": ", FamilyNames[unitType], name)
end

local UnitDecoders = {}

function UnitDecoders.narrowAnnouncement(tvb, tree, pinfo)
    local size = tvb:len()
    local length = size > NameLengthAt and byte(tvb, NameLengthAt) or 0
    for _, variant in ipairs(NarrowVariants) do
        if size == length + variant.extra then
            local at = NameAt + length
            local words = announcementHead(tvb, tree, pinfo, variant.type)
                .. settings(tvb, tree, at, variant.phantom, variant.type)
            if variant.codeAndColours then
                local codeAt = at + (variant.phantom and 6 or 5)
                local codeText = code(tvb, tree, codeAt)
                words = words .. ", " .. colours(tvb, tree, codeAt + 8, false) .. ", code "
                    .. codeText
            end
            return words
        end
    end
    return string.format("announcement of %d bytes, a length no unit sends", size), true
end

function UnitDecoders.wideAnnouncement(tvb, tree, pinfo)
    local size = tvb:len()
    local length = size > NameLengthAt and byte(tvb, NameLengthAt) or 0
    local at = NameAt + length
    if size < at + 67 + 1 then
        return string.format("PXL2 announcement of %d bytes, too short", size), true
    end
    local words = announcementHead(tvb, tree, pinfo, 3) .. settings(tvb, tree, at, true, 3)
    local codeText = code(tvb, tree, at + 6)
    words = words .. ", " .. colours(tvb, tree, at + 14, true) .. ", code " .. codeText
    tree:add(F.eq_head_q, tvb(at + 23, 1))
    tree:add(F.eq_head_shape, tvb(at + 24, 1))
    tree:add(F.eq_head_enabled, tvb(at + 25, 1))
    tree:add(F.eq_head_spare, tvb(at + 26, 1))
    for band = 0, 3 do
        local field = at + 28 + 8 * band
        local shape, frequency = byte(tvb, field), word(tvb, field + 1)
        local q, gain = word(tvb, field + 3), word(tvb, field + 5)
        local bandTree = tree:add(arx, tvb(field, 8), string.format("EQ band %d", band + 1))
        bandTree:add(F.eq_shape, tvb(field, 1))
        bandTree:add(F.eq_frequency, tvb(field + 1, 2))
        addWithText(bandTree, F.eq_q, tvb(field + 3, 2), "Q " .. qText(q, 100))
        addWithText(bandTree, F.eq_gain, tvb(field + 5, 2), tenthsDb(gain - 300))
        words = words .. "; " .. bandText(band + 1, frequency, q, gain, shape)
    end
    tree:add(F.eq_lowcut_frequency, tvb(at + 61, 2))
    tree:add(F.eq_lowcut_shape, tvb(at + 65, 2))
    return words .. string.format("; low cut %d Hz", word(tvb, at + 61))
end

function UnitDecoders.settings(tvb, tree, pinfo, unitType)
    return "settings " .. settings(tvb, tree, 2, true, unitType)
end

function UnitDecoders.settings5(tvb, tree, pinfo, unitType)
    return "settings " .. settings(tvb, tree, 2, false, unitType)
end

function UnitDecoders.search(tvb, tree)
    return "search from "
        .. replyAddress(tvb, tree, 2, F.unit_reply_port, F.unit_reply_address, ":")
end

function UnitDecoders.attach(tvb, tree)
    local value = byte(tvb, 2)
    tree:add(F.unit_attach, tvb(2, 1))
    if value == 1 then return "attach" elseif value == 0 then return "detach" end
    return string.format("attach value %d", value)
end

function UnitDecoders.colours(tvb, tree)
    local codeText = code(tvb, tree, 2)
    return colours(tvb, tree, 10, false) .. ", code " .. codeText
end

function UnitDecoders.coloursWide(tvb, tree)
    local codeText = code(tvb, tree, 2)
    return colours(tvb, tree, 10, true) .. ", code " .. codeText
end

function UnitDecoders.micEqBand(tvb, tree)
    local band, enabled = byte(tvb, 2), byte(tvb, 3)
    local frequency, q, gain = word(tvb, 5), word(tvb, 7), word(tvb, 9)
    tree:add(F.eq_band, tvb(2, 1))
    tree:add(F.eq_enabled, tvb(3, 1))
    tree:add(F.eq_shape, tvb(4, 1))
    local words
    if band == 4 then
        tree:add(F.eq_lowcut_frequency, tvb(5, 2))
        tree:add(F.eq_q, tvb(7, 2))
        tree:add(F.eq_lowcut_shape, tvb(9, 2))
        words = string.format("low cut %s, %d Hz", onOff(enabled), frequency)
    else
        tree:add(F.eq_frequency, tvb(5, 2))
        addWithText(tree, F.eq_q, tvb(7, 2), "Q " .. qText(q, 100))
        addWithText(tree, F.eq_gain, tvb(9, 2), tenthsDb(gain - 300))
        words = bandText(band + 1, frequency, q, gain, byte(tvb, 4))
        if enabled == 0 then words = words .. ", off" end
    end
    coefficients(tvb, tree, 11, { F.a1, F.a2, F.b0, F.b1, F.b2 }, fixed3_21, 3)
    return words
end

function UnitDecoders.settingsReport(tvb, tree, pinfo, unitType)
    local letter = byte(tvb, 1)
    return "settings report " .. settings(tvb, tree, 2, letter == string.byte("E"), unitType)
end

function UnitDecoders.level(tvb, tree)
    tree:add(F.unit_level, tvb(2, 1))
    return string.format("level %d", byte(tvb, 2))
end

function UnitDecoders.unused(tvb)
    return string.format("'%%%s', not used by ARX", string.char(byte(tvb, 1)))
end

-- Per letter: the length it must have (0: the decoder checks it), whether longer frames are
-- read as well (as ARX's parser reads them), and whether it comes from a unit.
local UnitKinds = {
    A = { length = 9, decode = UnitDecoders.settings },
    C = { length = 9, decode = UnitDecoders.search },
    F = { length = 4, decode = UnitDecoders.attach },
    K = { length = 4, decode = UnitDecoders.attach },
    M = { length = 14, decode = UnitDecoders.colours },
    O = { length = 14, decode = UnitDecoders.colours },
    P = { length = 20, decode = UnitDecoders.coloursWide },
    T = { length = 27, decode = UnitDecoders.micEqBand },
    D = { length = 0, decode = UnitDecoders.narrowAnnouncement, fromUnit = true },
    E = { length = 9, atLeast = true, decode = UnitDecoders.settingsReport, fromUnit = true },
    J = { length = 8, atLeast = true, decode = UnitDecoders.settingsReport, fromUnit = true },
    G = { length = 4, atLeast = true, decode = UnitDecoders.level, fromUnit = true },
    L = { length = 4, atLeast = true, decode = UnitDecoders.level, fromUnit = true },
    B = { length = 0, decode = UnitDecoders.unused, fromUnit = true },
    U = { length = 0, decode = UnitDecoders.unused, fromUnit = true },
}
-- 'H' is a VEL-K settings frame of 8 bytes to a unit, or a PXL2 announcement from one.
local SettingsToVelK = { length = 8, decode = UnitDecoders.settings5 }
local WideAnnouncement = { length = 0, decode = UnitDecoders.wideAnnouncement, fromUnit = true }

local function letterText(letter)
    if letter > 0x20 and letter < 0x7F then return string.format("'%%%s'", string.char(letter)) end
    return string.format("'%%' %02X", letter)
end

local function unitFrame(tvb, tree, pinfo)
    local size, letter = tvb:len(), byte(tvb, 1)
    local character = string.char(letter)
    tree:add(F.unit_letter, tvb(1, 1), character)
    local kind = UnitKinds[character]
    if character == "H" then
        kind = size == SettingsToVelK.length and SettingsToVelK or WideAnnouncement
    end
    if not kind then return "unknown unit frame " .. letterText(letter), true end
    if kind.length ~= 0 and size ~= kind.length and not (kind.atLeast and size > kind.length) then
        return string.format("%s of %d bytes, not %d", letterText(letter), size, kind.length), true
    end
    local unitAddress = tostring(kind.fromUnit and pinfo.src or pinfo.dst)
    return kind.decode(tvb, tree, pinfo, unitTypeOf(pinfo, unitAddress))
end

-- Processor frames ------------------------------------------------------------------------

local ProcessorDecoders = {}

local function channel(tvb, tree)
    tree:add(F.proc_channel, tvb(4, 1))
    return named(Channels, byte(tvb, 4), "channel %d")
end

function ProcessorDecoders.speakerEqBand(tvb, tree)
    local where = channel(tvb, tree)
    local q, gain = word(tvb, 8), word(tvb, 10)
    tree:add(F.proc_band, tvb(5, 1))
    tree:add(F.proc_frequency, tvb(6, 2))
    addWithText(tree, F.proc_q, tvb(8, 2), "Q " .. qText(q, 10))
    addWithText(tree, F.proc_gain, tvb(10, 2), tenthsDb(gain - 180))
    coefficients(tvb, tree, 12, { F.b0, F.b1, F.b2, F.a1, F.a2 },
        function(t, at) return fixed5_23(t, at, 28) end, 4)
    return string.format("processor EQ %s band %d: %d Hz, Q %s, %s", where, byte(tvb, 5),
        word(tvb, 6), qText(q, 10), tenthsDb(gain - 180))
end

function ProcessorDecoders.crossover(tvb, tree)
    local highPass = byte(tvb, 3) == 0x02
    local where = channel(tvb, tree)
    local type = byte(tvb, 27)
    tree:add(F.proc_frequency, tvb(5, 2))
    -- The low-pass words have always gone out with their top nibble masked off.
    coefficients(tvb, tree, 7, { F.b0, F.b1, F.b2, F.a1, F.a2 },
        function(t, at) return fixed5_23(t, at, highPass and 32 or 28) end, 4)
    tree:add(F.proc_type, tvb(27, 1))
    tree:add(F.proc_type_q, tvb(28, 2))
    local words = string.format("%s %s %s, %d Hz", highPass and "high-pass" or "low-pass", where,
        named(CrossoverTypes, type, "type %d"), word(tvb, 5))
    if type == 4 then words = words .. ", Q " .. qText(word(tvb, 28), 10) end
    return words
end

local DynamicsWords = { F.dyn_average, F.dyn_average_rest, F.dyn_attack, F.dyn_attack_rest,
    F.dyn_release, F.dyn_release_rest, F.dyn_threshold, F.dyn_slope, F.dyn_constant }

function ProcessorDecoders.dynamics(tvb, tree)
    local where = channel(tvb, tree)
    local ratio = word(tvb, 5)
    tree:add(F.proc_ratio, tvb(5, 2))
    tree:add(F.proc_threshold, tvb(7, 1))
    tree:add(F.proc_attack, tvb(8, 1))
    tree:add(F.proc_release, tvb(9, 1))
    coefficients(tvb, tree, 10, DynamicsWords, function(t, at) return fixed5_23(t, at, 32) end, 4)
    return string.format("limiter %s threshold %s, ratio 1:%d.%d, attack %dms, release %dms",
        where, signedDb(-byte(tvb, 7)), quotient(ratio, 10), ratio % 10, byte(tvb, 8), byte(tvb, 9))
end

function ProcessorDecoders.level(tvb, tree)
    local target, level = byte(tvb, 4), byte(tvb, 5)
    tree:add(F.proc_level_target, tvb(4, 1))
    addWithText(tree, F.proc_level, tvb(5, 1), tenthsDb(240 - 5 * level))
    local where = named(LevelTargets, target, "target %d")
    return "level " .. where .. " " .. tenthsDb(240 - 5 * level)
end

function ProcessorDecoders.name(tvb, tree)
    local name = text(tvb, 4, 10)
    tree:add(F.proc_name, tvb(4, 10), name)
    return "name " .. name
end

function ProcessorDecoders.connectRequest(tvb, tree)
    -- The port it carries is the processor's own, not the one answers come to.
    return "connect request from "
        .. replyAddress(tvb, tree, 4, F.proc_reply_port, F.proc_reply_address, ", port ")
end

function ProcessorDecoders.reset()
    return "device reset"
end

function ProcessorDecoders.phase(tvb, tree)
    local where = channel(tvb, tree)
    local value = byte(tvb, 5)
    tree:add(F.proc_phase, tvb(5, 1))
    return "phase " .. where .. " " .. named(Phases, value, "%d")
end

function ProcessorDecoders.answer(tvb, tree)
    local name = text(tvb, 4, tvb:len() - 5)
    tree:add(F.proc_name, tvb(4, tvb:len() - 5), name)
    return "processor answer " .. name
end

-- By command: the frame's whole length (0: any) and its decoder, to the processor and from it.
local ToProcessor = {
    [0x01] = { length = 33, decode = ProcessorDecoders.speakerEqBand },
    [0x02] = { length = 31, decode = ProcessorDecoders.crossover },
    [0x03] = { length = 31, decode = ProcessorDecoders.crossover },
    [0x04] = { length = 7, decode = ProcessorDecoders.level },
    [0x05] = { length = 47, decode = ProcessorDecoders.dynamics },
    [0x06] = { length = 15, decode = ProcessorDecoders.name },
    [0x07] = { length = 11, decode = ProcessorDecoders.connectRequest },
    [0x08] = { length = 5, decode = ProcessorDecoders.reset },
    [0x0A] = { length = 7, decode = ProcessorDecoders.phase },
}
local FromProcessor = {
    [0x07] = { length = 0, decode = ProcessorDecoders.answer },
}

local function processorFrame(tvb, tree, pinfo)
    local size = tvb:len()
    if size > 2 then tree:add(F.proc_length, tvb(2, 1)) end
    if size > 3 then tree:add(F.proc_command, tvb(3, 1)) end
    if size < 5 or byte(tvb, 2) + 4 ~= size or byte(tvb, size - 1) ~= 0xA5 then
        return string.format("processor frame of %d bytes with a wrong length or end", size), true
    end
    local command = byte(tvb, 3)
    local kinds = pinfo.src_port == ProcessorPort and FromProcessor or ToProcessor
    local kind = kinds[command]
    if not kind then return string.format("unknown processor command %02X", command), true end
    if kind.length ~= 0 and size ~= kind.length then
        return string.format("processor command %02X of %d bytes, not %d", command, size,
            kind.length), true
    end
    return kind.decode(tvb, tree, pinfo)
end

-- The dissector ---------------------------------------------------------------------------

function arx.dissector(tvb, pinfo, tree)
    local size = tvb:len()
    local unitFraming = size >= 1 and byte(tvb, 0) == 0x25
    local processorFraming = size >= 2 and byte(tvb, 0) == 0xAA and byte(tvb, 1) == 0x55
    if not unitFraming and not processorFraming then return 0 end

    pinfo.cols.protocol:set("ARX")
    local root = tree:add(arx, tvb())
    local words, wrong
    if size < tvb:reported_len() then
        words = string.format("datagram of %d bytes, cut short in the capture", tvb:reported_len())
        wrong = true
    elseif processorFraming then
        words, wrong = processorFrame(tvb, root, pinfo)
    elseif size >= 2 and byte(tvb, size - 1) == 0x23 then
        words, wrong = unitFrame(tvb, root, pinfo)
    else
        -- ARX takes nothing without both ends of a unit frame.
        if size >= 2 then root:add(F.unit_letter, tvb(1, 1), string.char(byte(tvb, 1))) end
        root:add_proto_expert_info(misfit, "starts as a unit frame but does not end with '#'")
        words = "not a frame"
    end
    if wrong then root:add_proto_expert_info(misfit, words) end
    root:append_text(": " .. words)
    pinfo.cols.info:set(words)
    return size
end

local udpPorts = DissectorTable.get("udp.port")
for _, port in ipairs({ UnitPort, SearchPort, ProcessorPort }) do
    udpPorts:add(port, arx)
end
