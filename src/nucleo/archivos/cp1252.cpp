#include "archivos/cp1252.h"

#include <QStringDecoder>
#include <algorithm>

namespace {
// Characters of bytes 0x80..0x9F; 0 where the code page leaves the byte unassigned.
constexpr char16_t kAltos[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int byteDe(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kAltos[i] && kAltos[i] == c)
            return 0x80 + i;
    if (c >= 0x80 && c < 0xA0 && !kAltos[c - 0x80])
        return c; // an unassigned byte read back as its control character
    return -1;
}
} // namespace

std::optional<QByteArray> aCp1252(QStringView texto) {
    QByteArray b;
    b.reserve(texto.size());
    for (QChar c : texto) {
        const int v = byteDe(c.unicode());
        if (v < 0)
            return std::nullopt;
        b += char(v);
    }
    return b;
}

QByteArray aCp1252Aproximado(QStringView texto) {
    QByteArray b;
    b.reserve(texto.size());
    for (QChar c : texto) {
        const int v = byteDe(c.unicode());
        b += v < 0 ? '?' : char(v);
    }
    return b;
}

QString deCp1252(QByteArrayView bytes) {
    QString s;
    s.reserve(bytes.size());
    for (char ch : bytes) {
        const auto u = static_cast<unsigned char>(ch);
        s += (u >= 0x80 && u < 0xA0 && kAltos[u - 0x80]) ? QChar(kAltos[u - 0x80]) : QChar(u);
    }
    return s;
}

QString textoDeArchivo(QByteArrayView bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes[0] == '\xFF' ? QStringDecoder::Utf16LE
                                                : QStringDecoder::Utf16BE);
        return utf16.decode(bytes.sliced(2));
    }
    const bool marca = bytes.startsWith("\xEF\xBB\xBF");
    if (marca)
        bytes = bytes.sliced(3);
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString texto = utf8.decode(bytes);
        if (!utf8.hasError())
            return texto;
    }
    return deCp1252(bytes);
}
