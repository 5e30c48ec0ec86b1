// SPDX-License-Identifier: MIT
#include "language/language_runtime.h"

#include <algorithm>
#include <initializer_list>

namespace {

// One helper function in the language's source, with the helpers it calls.
struct THelper {
  const char* Name;
  const char* Calls; // blank-separated names
  const char* Text;
};

const THelper kPythonHelpers[] = {
    // Reading as Pascal's read and readln do: a number skips blanks and line ends and stops after
    // its last character, readln then drops the rest of the line, a string takes the rest of it.
    {"_peek", "", R"(_line = ''  # what is left of the current input line


def _peek():
    global _line
    if not _line:
        _line = sys.stdin.readline()
    return _line[:1]


def _take():
    global _line
    c, _line = _line[:1], _line[1:]
    return c
)"},
    {"_number", "_peek", R"(def _number(chars):
    while _peek() in (' ', '\t', '\r', '\n'):
        _take()
    text = ''
    while _peek() and _peek() in chars and (_peek() not in '+-' or text[-1:] in ('', 'e', 'E')):
        text += _take()
    return text
)"},
    {"read_int", "_number", R"(def read_int():
    try:
        return int(_number('+-0123456789'))
    except ValueError:
        return 0
)"},
    {"read_real", "_number", R"(def read_real():
    try:
        return float(_number('+-0123456789.eE'))
    except ValueError:
        return 0.0
)"},
    {"read_string", "_peek", R"(def read_string():
    text = ''
    while _peek() not in ('', '\n'):
        text += _take()
    return text
)"},
    {"skip_line", "_peek", R"(def skip_line():
    while _peek() not in ('', '\n'):
        _take()
    _take()
)"},
    {"copy", "", R"(def copy(s, index, count):
    start = max(index - 1, 0)
    return s[start:start + max(count, 0)]
)"},
    {"pos", "", R"(def pos(part, s):
    return s.find(part) + 1 if part else 0
)"},
    // A real as Pascal writes it with write(x), write(x:width) or write(x:width:decimals): its 17
    // significant digits, rounded half up to the digits shown (a run of nines that ends just
    // before the last digits counts as rounding up, as in Free Pascal).
    {"_carry", "", R"(def _carry(digits):
    while digits and digits[-1] == 9:
        digits.pop()
    if not digits:
        digits.append(1)
        return 1
    digits[-1] += 1
    return 0
)"},
    {"_round", "_carry", R"(def _round(digits, cut):
    n, rounding = len(digits), digits[cut]
    if rounding == 4 and cut < n - 3 and digits[n - 2] >= 8 and all(d == 9 for d in digits[cut + 1:n - 2]):
        rounding = 9
    del digits[cut:]
    return _carry(digits) if rounding >= 5 else 0
)"},
    {"real_str", "_round", R"(def real_str(x, width=-1, decimals=-1):
    negative = math.copysign(1.0, x) < 0
    digits, point = [], 1
    if x:
        _, exact, exponent = decimal.Decimal(abs(x)).as_tuple()
        digits = list(exact)
        while digits[-1] == 0:
            digits.pop()
            exponent += 1
        point = len(digits) + exponent
        if len(digits) > 17:
            rest = digits[17:]
            del digits[17:]
            if rest[0] > 5 or (rest[0] == 5 and (any(rest[1:]) or digits[16] % 2)):
                point += _carry(digits)
    digit = lambda d, k: str(d[k]) if 0 <= k < len(d) else '0'
    if decimals >= 0:
        fixed, dot = digits[:], point
        if dot + decimals < 0:
            fixed = []
        elif dot + decimals < len(fixed):
            dot += _round(fixed, dot + decimals)
        text = ('-' if negative else '') + (''.join(digit(fixed, k) for k in range(dot)) or '0')
        if decimals > 0:
            text += '.' + ''.join(digit(fixed, dot + k) for k in range(decimals))
        if len(text) <= 255:
            return text.rjust(width)
    keep = 17 if width < 0 else min(17, max(2, width - 7))
    if keep < len(digits):
        point += _round(digits, keep)
    exponent = point - 1 if digits else 0
    text = ('-' if negative else ' ') + digit(digits, 0) + '.' + ''.join(digit(digits, k) for k in range(1, keep))
    return (text + 'E' + ('-' if exponent < 0 else '+') + '%03d' % abs(exponent)).rjust(width)
)"},
};

const THelper kJavaHelpers[] = {
    {"peek", "", R"(    static int pending = -2; // the next input byte, -2 before looking at it

    static int peek() throws IOException {
        if (pending == -2) {
            pending = System.in.read();
        }
        return pending;
    }

    static int take() throws IOException {
        int c = peek();
        pending = -2;
        return c;
    }
)"},
    {"number", "peek", R"(    static String number(String chars) throws IOException {
        while (peek() == ' ' || peek() == '\t' || peek() == '\r' || peek() == '\n') {
            take();
        }
        StringBuilder text = new StringBuilder();
        while (peek() >= 0 && chars.indexOf(peek()) >= 0 && (peek() != '+' && peek() != '-'
                || text.length() == 0 || "eE".indexOf(text.charAt(text.length() - 1)) >= 0)) {
            text.append((char) take());
        }
        return text.toString();
    }
)"},
    {"readInt", "number", R"(    static int readInt() throws IOException {
        try {
            return Integer.parseInt(number("+-0123456789"));
        } catch (NumberFormatException e) {
            return 0;
        }
    }
)"},
    {"readReal", "number", R"(    static double readReal() throws IOException {
        try {
            return Double.parseDouble(number("+-0123456789.eE"));
        } catch (NumberFormatException e) {
            return 0.0;
        }
    }
)"},
    {"readString", "peek", R"(    static String readString() throws IOException {
        StringBuilder text = new StringBuilder();
        while (peek() >= 0 && peek() != '\n') {
            text.append((char) take());
        }
        return text.toString();
    }
)"},
    {"skipLine", "peek", R"(    static void skipLine() throws IOException {
        while (peek() >= 0 && peek() != '\n') {
            take();
        }
        take();
    }
)"},
    {"copy", "", R"(    static String copy(String s, int index, int count) {
        int start = Math.min(Math.max(index - 1, 0), s.length());
        return s.substring(start, (int) Math.min((long) start + Math.max(count, 0), s.length()));
    }
)"},
    {"pos", "", R"(    static int pos(String part, String s) {
        return part.isEmpty() ? 0 : s.indexOf(part) + 1;
    }
)"},
    {"carry", "", R"(    static int carry(StringBuilder digits) {
        int n = digits.length();
        while (n > 0 && digits.charAt(n - 1) == '9') {
            n--;
        }
        digits.setLength(n);
        if (n == 0) {
            digits.append('1');
            return 1;
        }
        digits.setCharAt(n - 1, (char) (digits.charAt(n - 1) + 1));
        return 0;
    }
)"},
    {"roundDigits", "carry", R"(    static int roundDigits(StringBuilder digits, int cut) {
        int n = digits.length();
        int rounding = digits.charAt(cut) - '0';
        if (rounding == 4 && cut < n - 3 && digits.charAt(n - 2) >= '8') {
            int i = cut + 1;
            while (i < n - 2 && digits.charAt(i) == '9') {
                i++;
            }
            if (i == n - 2) {
                rounding = 9;
            }
        }
        digits.setLength(cut);
        return rounding >= 5 ? carry(digits) : 0;
    }
)"},
    {"digit", "", R"(    static char digit(CharSequence digits, int k) {
        return k >= 0 && k < digits.length() ? digits.charAt(k) : '0';
    }
)"},
    {"realStr", "roundDigits digit",
     R"(    static String realStr(double x, int width, int decimals) {
        boolean negative = Double.doubleToRawLongBits(x) < 0;
        StringBuilder digits = new StringBuilder();
        int point = 1;
        if (x != 0) {
            BigDecimal exact = new BigDecimal(Math.abs(x)).stripTrailingZeros();
            digits.append(exact.unscaledValue().toString());
            point = digits.length() - exact.scale();
            if (digits.length() > 17) {
                String rest = digits.substring(17);
                digits.setLength(17);
                if (rest.charAt(0) > '5' || rest.charAt(0) == '5'
                        && (!rest.substring(1).matches("0*") || digits.charAt(16) % 2 == 1)) {
                    point += carry(digits);
                }
            }
        }
        StringBuilder text = new StringBuilder(negative ? "-" : "");
        if (decimals >= 0) {
            StringBuilder fixed = new StringBuilder(digits);
            int dot = point;
            if (dot + decimals < 0) {
                fixed.setLength(0);
            } else if (dot + decimals < fixed.length()) {
                dot += roundDigits(fixed, dot + decimals);
            }
            for (int k = 0; k < Math.max(dot, 1); k++) {
                text.append(k < dot ? digit(fixed, k) : '0');
            }
            if (decimals > 0) {
                text.append('.');
            }
            for (int k = 0; k < decimals; k++) {
                text.append(digit(fixed, dot + k));
            }
        }
        if (decimals < 0 || text.length() > 255) {
            int keep = width < 0 ? 17 : Math.min(17, Math.max(2, width - 7));
            if (keep < digits.length()) {
                point += roundDigits(digits, keep);
            }
            int exponent = digits.length() > 0 ? point - 1 : 0;
            String e = Integer.toString(Math.abs(exponent));
            text = new StringBuilder(negative ? "-" : " ").append(digit(digits, 0)).append('.');
            for (int k = 1; k < keep; k++) {
                text.append(digit(digits, k));
            }
            text.append(exponent < 0 ? "E-" : "E+").append("000".substring(Math.min(3, e.length()))).append(e);
        }
        while (text.length() < width) {
            text.insert(0, ' ');
        }
        return text.toString();
    }
)"},
};

const THelper kCHelpers[] = {
    {"number", "", R"(static void number(char *text, const char *chars) {
    int c, n = 0;
    while ((c = getchar()) == ' ' || c == '\t' || c == '\r' || c == '\n') {
    }
    while (c > 0 && strchr(chars, c) && n < 63
           && ((c != '+' && c != '-') || n == 0 || text[n - 1] == 'e' || text[n - 1] == 'E')) {
        text[n++] = (char) c;
        c = getchar();
    }
    text[n] = '\0';
    if (c != EOF) {
        ungetc(c, stdin);
    }
}
)"},
    {"read_int", "number", R"(static int read_int(void) {
    char text[64];
    number(text, "+-0123456789");
    return atoi(text);
}
)"},
    {"read_real", "number", R"(static double read_real(void) {
    char text[64];
    number(text, "+-0123456789.eE");
    return strtod(text, NULL);
}
)"},
    {"read_string", "", R"(static void read_string(char *target) {
    int c, n = 0;
    while ((c = getchar()) != EOF && c != '\n') {
        if (n < 255) {
            target[n++] = (char) c;
        }
    }
    target[n] = '\0';
    if (c == '\n') {
        ungetc(c, stdin);
    }
}
)"},
    {"skip_line", "", R"(static void skip_line(void) {
    int c;
    while ((c = getchar()) != EOF && c != '\n') {
    }
}
)"},
    // Pascal's strings hold up to 255 bytes; results of string expressions rotate through
    // buffers.
    {"str_temp", "", R"(static char *str_temp(void) {
    static char buffers[16][256];
    static int next = 0;
    next = (next + 1) % 16;
    return buffers[next];
}
)"},
    {"str_set", "", R"(static void str_set(char *target, const char *value) {
    size_t n = strlen(value);
    if (n > 255) {
        n = 255;
    }
    memmove(target, value, n);
    target[n] = '\0';
}
)"},
    {"str_cat", "str_temp str_set", R"(static const char *str_cat(const char *a, const char *b) {
    char *t = str_temp();
    size_t n, m = strlen(b);
    str_set(t, a);
    n = strlen(t);
    if (m > 255 - n) {
        m = 255 - n;
    }
    memcpy(t + n, b, m);
    t[n + m] = '\0';
    return t;
}
)"},
    {"str_chr", "str_temp", R"(static const char *str_chr(int code) {
    char *t = str_temp();
    t[0] = (char) code;
    t[1] = '\0';
    return t;
}
)"},
    {"str_at", "str_temp", R"(static const char *str_at(const char *s, int i) {
    char *t = str_temp();
    t[0] = i >= 1 && i <= (int) strlen(s) ? s[i - 1] : '\0';
    t[1] = '\0';
    return t;
}
)"},
    {"str_copy", "str_temp", R"(static const char *str_copy(const char *s, int index, int count) {
    char *t = str_temp();
    int length = (int) strlen(s), start = index > 1 ? index - 1 : 0;
    if (count < 0 || start >= length) {
        count = 0;
    } else if (count > length - start) {
        count = length - start;
    }
    memcpy(t, s + start, (size_t) count);
    t[count] = '\0';
    return t;
}
)"},
    {"str_pos", "", R"(static int str_pos(const char *part, const char *s) {
    const char *found = *part ? strstr(s, part) : NULL;
    return found ? (int) (found - s) + 1 : 0;
}
)"},
    {"carry", "", R"(static int carry(char *digits) {
    size_t n = strlen(digits);
    while (n > 0 && digits[n - 1] == '9') {
        digits[--n] = '\0';
    }
    if (n == 0) {
        strcpy(digits, "1");
        return 1;
    }
    digits[n - 1]++;
    return 0;
}
)"},
    {"round_digits", "carry", R"(static int round_digits(char *digits, int cut) {
    int n = (int) strlen(digits), i = cut + 1, rounding = digits[cut] - '0';
    if (rounding == 4 && cut < n - 3 && digits[n - 2] >= '8') {
        while (i < n - 2 && digits[i] == '9') {
            i++;
        }
        if (i == n - 2) {
            rounding = 9;
        }
    }
    digits[cut] = '\0';
    return rounding >= 5 ? carry(digits) : 0;
}
)"},
    {"digit", "", R"(static char digit(const char *digits, int k) {
    return k >= 0 && k < (int) strlen(digits) ? digits[k] : '0';
}
)"},
    {"real_str", "str_temp round_digits digit",
     R"(static const char *real_str(double x, int width, int decimals) {
    char exact[800], digits[800] = "", fixed[800], *text = str_temp();
    int point = 1, n = 0, k, keep, exponent, done = 0;
    if (x != 0) {
        snprintf(exact, sizeof exact, "%.780e", fabs(x));
        digits[n++] = exact[0];
        for (k = 2; exact[k] != 'e'; k++) {
            digits[n++] = exact[k];
        }
        while (n > 1 && digits[n - 1] == '0') {
            n--;
        }
        digits[n] = '\0';
        point = atoi(strchr(exact, 'e') + 1) + 1;
        if (n > 17) {
            int up = digits[17] > '5' || (digits[17] == '5' && (strspn(digits + 18, "0") < strlen(digits + 18) || (digits[16] - '0') % 2 == 1));
            digits[17] = '\0';
            if (up) {
                point += carry(digits);
            }
        }
    }
    n = 0;
    if (signbit(x)) {
        text[n++] = '-';
    }
    if (decimals >= 0) {
        int dot = point;
        strcpy(fixed, digits);
        if (dot + decimals < 0) {
            fixed[0] = '\0';
        } else if (dot + decimals < (int) strlen(fixed)) {
            dot += round_digits(fixed, dot + decimals);
        }
        if (n + (dot > 1 ? dot : 1) + (decimals > 0 ? decimals + 1 : 0) <= 255) {
            for (k = 0; k < (dot > 1 ? dot : 1); k++) {
                text[n++] = k < dot ? digit(fixed, k) : '0';
            }
            if (decimals > 0) {
                text[n++] = '.';
            }
            for (k = 0; k < decimals; k++) {
                text[n++] = digit(fixed, dot + k);
            }
            done = 1;
        }
    }
    if (!done) {
        n = 0;
        text[n++] = signbit(x) ? '-' : ' ';
        keep = width < 0 ? 17 : width - 7 < 2 ? 2 : width - 7 > 17 ? 17 : width - 7;
        if (keep < (int) strlen(digits)) {
            point += round_digits(digits, keep);
        }
        exponent = digits[0] ? point - 1 : 0;
        text[n++] = digit(digits, 0);
        text[n++] = '.';
        for (k = 1; k < keep; k++) {
            text[n++] = digit(digits, k);
        }
        n += snprintf(text + n, 8, "E%c%03d", exponent < 0 ? '-' : '+', abs(exponent));
    }
    text[n] = '\0';
    if (n < width) {
        memmove(text + width - n, text, (size_t) n + 1);
        memset(text, ' ', (size_t) (width - n));
    }
    return text;
}
)"},
};

// The helpers wanted and those they call, in the order of the table.
// Python's style wants two blank lines between functions, Java and C one.
template <std::size_t N>
std::string Helpers(const THelper (&table)[N], std::set<std::string> wanted,
                    const char* separator) {
  for (std::size_t i = N; i-- > 0;) { // a helper comes after those it calls
    if (!wanted.count(table[i].Name))
      continue;
    const std::string calls = table[i].Calls;
    for (std::size_t at = 0; at < calls.size();) {
      const std::size_t end = std::min(calls.find(' ', at), calls.size());
      wanted.insert(calls.substr(at, end - at));
      at = end + 1;
    }
  }
  std::string out;
  for (const THelper& helper : table)
    if (wanted.count(helper.Name))
      out += (out.empty() ? "" : separator) + std::string(helper.Text);
  return out;
}

bool Uses(const TRuntimeNeeds& needs, std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (needs.Helpers.count(name))
      return true;
  return false;
}

} // namespace

bool ReadsInput(const TRuntimeNeeds& needs) {
  return Uses(needs, {"read_int", "read_real", "read_string", "skip_line", "readInt", "readReal",
                      "readString", "skipLine"});
}

std::string RuntimeImports(TSourceLanguage language, const TRuntimeNeeds& needs,
                           bool booleanVariables) {
  std::string out;
  auto line = [&](bool wanted, const char* text) {
    if (wanted)
      out += std::string(text) + "\n";
  };
  const bool reals = Uses(needs, {"real_str", "realStr"});
  switch (language) {
  case TSourceLanguage::Python:
    line(reals, "import decimal");
    line(needs.Math || reals, "import math");
    line(needs.Random, "import random");
    line(ReadsInput(needs) || needs.ByteOutput || needs.Exit, "import sys");
    break;
  case TSourceLanguage::Java:
    line(needs.ByteOutput, "import java.io.FileDescriptor;");
    line(needs.ByteOutput, "import java.io.FileOutputStream;");
    line(ReadsInput(needs), "import java.io.IOException;");
    line(needs.ByteOutput, "import java.io.PrintStream;");
    line(reals, "import java.math.BigDecimal;");
    line(needs.ByteOutput, "import java.nio.charset.StandardCharsets;");
    break;
  case TSourceLanguage::C:
    line(needs.Math || reals, "#include <math.h>");
    line(booleanVariables || needs.Booleans, "#include <stdbool.h>");
    line(true, "#include <stdio.h>");
    line(needs.Stdlib || reals || Uses(needs, {"read_int", "read_real"}), "#include <stdlib.h>");
    line(needs.Strings || reals ||
             Uses(needs, {"read_int", "read_real", "str_set", "str_cat", "str_chr", "str_at",
                          "str_copy", "str_pos"}),
         "#include <string.h>");
    line(needs.Random, "#include <time.h>");
    break;
  case TSourceLanguage::Pascal:
    break;
  }
  return out;
}

std::string RuntimeHelpers(TSourceLanguage language, const TRuntimeNeeds& needs) {
  switch (language) {
  case TSourceLanguage::Python:
    return Helpers(kPythonHelpers, needs.Helpers, "\n\n");
  case TSourceLanguage::Java:
    return Helpers(kJavaHelpers, needs.Helpers, "\n");
  case TSourceLanguage::C:
    return Helpers(kCHelpers, needs.Helpers, "\n");
  default:
    return std::string();
  }
}

std::string RuntimeSetup(TSourceLanguage language, const TRuntimeNeeds& needs) {
  // Texts are Windows-1252; Python and Java hold each byte as the character of the same number
  // and print it back as that one byte.
  switch (language) {
  case TSourceLanguage::Python:
    return std::string(needs.ByteOutput ? "sys.stdout.reconfigure(encoding='latin-1')\n" : "") +
           (ReadsInput(needs) ? "sys.stdin.reconfigure(encoding='latin-1')\n" : "");
  case TSourceLanguage::Java:
    return needs.ByteOutput
               ? "System.setOut(new PrintStream(new FileOutputStream(FileDescriptor.out), true, "
                 "StandardCharsets.ISO_8859_1));\n"
               : "";
  default:
    return "";
  }
}
