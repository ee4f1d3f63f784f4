// Jet SQL to SQLite SQL, token by token, so that quoted text is never rewritten.
#include "platform/db/JetSql.h"

#include "platform/db/RowStore_p.h"

#include <QDate>
#include <QRegularExpression>
#include <vector>

QString SqlQuoted(const QString& Text)
{
    QString S = Text;
    S.replace(u'\'', QStringLiteral("''"));
    return u'\'' + S + u'\'';
}

QString JetDateLiteral(TDateTime Value)
{
    const TFormatSettings& F = FormatSettings();
    QString Text = FormatDateTime(F.ShortDateFormat, Value, F);
    if (TimeOf(Value) > 0.5 / 86400.0)
        Text += u' ' + FormatDateTime(QStringLiteral("hh:nn:ss"), Value, F);
    return u'#' + Text + u'#';
}

bool ParseJetDate(const QString& Text, TDateTime& Value)
{
    const QString S = Text.trimmed();
    const QByteArray U = S.toUtf8();
    if (ParseCanonicalDateTime(U.constData(), size_t(U.size()), Value))
        return true;
    if (TryStrToDateTime(S, Value, FormatSettings()))
        return true;
    // Jet's own reading of a literal: month/day/year, optionally with a time.
    static const QRegularExpression Us(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2,4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const auto M = Us.match(S);
    if (!M.hasMatch())
        return false;
    int Year = M.captured(3).toInt();
    if (M.captured(3).size() <= 2)
        Year += Year < 30 ? 2000 : 1900;
    TDateTime D, T = 0;
    if (!TryEncodeDate(Year, M.captured(1).toInt(), M.captured(2).toInt(), D))
        return false;
    if (!M.captured(4).isEmpty()
        && !TryEncodeTime(M.captured(4).toInt(), M.captured(5).toInt(), M.captured(6).toInt(), 0, T))
        return false;
    Value = D + T;
    return true;
}

namespace {

enum class TTok { Space, Ident, Number, String, Punct };

struct TToken
{
    TTok Kind;
    QString Text;
};

bool IsIdentStart(QChar C)
{
    return C.isLetter() || C == u'_' || C.unicode() > 127;
}

bool IsIdentPart(QChar C)
{
    return C.isLetterOrNumber() || C == u'_' || C.unicode() > 127;
}

[[noreturn]] void Fail(const QString& What, const QString& Sql)
{
    throw EDatabaseError(What + QStringLiteral(" in query expression '") + Sql + u'\'');
}

QString DateString(const QString& Inner, const QString& Sql)
{
    TDateTime V;
    if (!ParseJetDate(Inner, V))
        Fail(QStringLiteral("Syntax error in date"), Sql);
    return u'\'' + QString::fromLatin1(FormatCanonicalDateTime(V)) + u'\'';
}

std::vector<TToken> Tokenize(const QString& Sql)
{
    std::vector<TToken> Out;
    const qsizetype N = Sql.size();
    qsizetype i = 0;
    while (i < N) {
        const QChar C = Sql[i];
        const qsizetype Start = i;
        if (C.isSpace()) {
            while (i < N && Sql[i].isSpace())
                ++i;
            Out.push_back({TTok::Space, Sql.mid(Start, i - Start)});
        } else if (C == u'\'' || C == u'"') {
            // Jet takes both quotes for strings; SQLite gets single quotes.
            QString Body;
            ++i;
            while (true) {
                if (i >= N)
                    Fail(QStringLiteral("Unterminated string"), Sql);
                if (Sql[i] == C) {
                    if (i + 1 < N && Sql[i + 1] == C) {
                        Body += C;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                Body += Sql[i++];
            }
            Out.push_back({TTok::String, SqlQuoted(Body)});
        } else if (C == u'#') {
            const qsizetype End = Sql.indexOf(u'#', i + 1);
            if (End < 0)
                Fail(QStringLiteral("Syntax error in date"), Sql);
            Out.push_back({TTok::String, DateString(Sql.mid(i + 1, End - i - 1), Sql)});
            i = End + 1;
        } else if (C == u'[') {
            const qsizetype End = Sql.indexOf(u']', i + 1);
            if (End < 0)
                Fail(QStringLiteral("Unterminated name"), Sql);
            i = End + 1;
            Out.push_back({TTok::Ident, Sql.mid(Start, i - Start)});
        } else if (IsIdentStart(C)) {
            while (i < N && IsIdentPart(Sql[i]))
                ++i;
            Out.push_back({TTok::Ident, Sql.mid(Start, i - Start)});
        } else if (C.isDigit() || (C == u'.' && i + 1 < N && Sql[i + 1].isDigit())) {
            while (i < N && (Sql[i].isDigit() || Sql[i] == u'.'))
                ++i;
            if (i < N && (Sql[i] == u'e' || Sql[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < N && (Sql[j] == u'+' || Sql[j] == u'-'))
                    ++j;
                if (j < N && Sql[j].isDigit()) {
                    i = j;
                    while (i < N && Sql[i].isDigit())
                        ++i;
                }
            }
            Out.push_back({TTok::Number, Sql.mid(Start, i - Start)});
        } else {
            ++i;
            Out.push_back({TTok::Punct, QString(C)});
        }
    }
    return Out;
}

bool IsWord(const TToken& T, const char* Word)
{
    return T.Kind == TTok::Ident && T.Text.compare(QLatin1String(Word), Qt::CaseInsensitive) == 0;
}

bool IsPunct(const TToken& T, char C)
{
    return T.Kind == TTok::Punct && T.Text.size() == 1 && T.Text[0] == QLatin1Char(C);
}

qsizetype NextSolid(const std::vector<TToken>& T, qsizetype i)
{
    while (i < qsizetype(T.size()) && T[size_t(i)].Kind == TTok::Space)
        ++i;
    return i;
}

qsizetype PrevSolid(const std::vector<TToken>& T, qsizetype i)
{
    while (i >= 0 && T[size_t(i)].Kind == TTok::Space)
        --i;
    return i;
}

QString Join(const std::vector<TToken>& T, qsizetype From, qsizetype To)
{
    QString S;
    for (qsizetype i = From; i < To; ++i)
        S += T[size_t(i)].Text;
    return S;
}

void ReplaceBooleans(std::vector<TToken>& T)
{
    for (qsizetype i = 0; i < qsizetype(T.size()); ++i) {
        TToken& K = T[size_t(i)];
        if (!IsWord(K, "True") && !IsWord(K, "False"))
            continue;
        const qsizetype Next = NextSolid(T, i + 1);
        const qsizetype Prev = PrevSolid(T, i - 1);
        if ((Next < qsizetype(T.size()) && IsPunct(T[size_t(Next)], '(')) || (Prev >= 0 && IsPunct(T[size_t(Prev)], '.')))
            continue;
        K = {TTok::Number, IsWord(K, "True") ? QStringLiteral("1") : QStringLiteral("0")};
    }
}

bool EndsBetweenOperand(const TToken& K)
{
    static const char* Stops[] = {"and", "or", "where", "group", "order", "having", "union", "limit", "then",
                                  "when", "else", "end", "as", "from", "on", "join", "left", "right", "inner",
                                  "is", "like", "in"};
    for (const char* W : Stops)
        if (IsWord(K, W))
            return true;
    return IsPunct(K, ',') || IsPunct(K, ';');
}

// "x Between a And b" -> "x Between min(a,b) And max(a,b)": a range picked backwards still finds its rows.
void RewriteBetween(std::vector<TToken>& T, const QString& Sql)
{
    for (qsizetype i = 0; i < qsizetype(T.size()); ++i) {
        if (!IsWord(T[size_t(i)], "Between"))
            continue;
        int Depth = 0;
        qsizetype AndAt = -1;
        for (qsizetype j = i + 1; j < qsizetype(T.size()); ++j) {
            const TToken& K = T[size_t(j)];
            if (IsPunct(K, '('))
                ++Depth;
            else if (IsPunct(K, ')') && --Depth < 0)
                break;
            else if (Depth == 0 && IsWord(K, "And")) {
                AndAt = j;
                break;
            }
        }
        if (AndAt < 0)
            Fail(QStringLiteral("Between operator without And"), Sql);
        qsizetype End = AndAt + 1;
        Depth = 0;
        for (; End < qsizetype(T.size()); ++End) {
            const TToken& K = T[size_t(End)];
            if (IsPunct(K, '('))
                ++Depth;
            else if (IsPunct(K, ')')) {
                if (Depth == 0)
                    break;
                --Depth;
            } else if (Depth == 0 && EndsBetweenOperand(K))
                break;
        }
        const QString A = Join(T, i + 1, AndAt).trimmed();
        const QString B = Join(T, AndAt + 1, End).trimmed();
        if (A.isEmpty() || B.isEmpty())
            Fail(QStringLiteral("Between operator without bounds"), Sql);
        const QString Text = QStringLiteral(" min(%1,%2) And max(%1,%2) ").arg(A, B);
        T.erase(T.begin() + i + 1, T.begin() + End);
        T.insert(T.begin() + i + 1, TToken{TTok::Punct, Text});
    }
}

QString BareName(const QString& Ident)
{
    if (Ident.startsWith(u'[') && Ident.endsWith(u']'))
        return Ident.mid(1, Ident.size() - 2);
    return Ident;
}

void RewriteOrderBy(std::vector<TToken>& T, const QSet<QString>& TextColumns)
{
    int Depth = 0;
    for (qsizetype i = 0; i < qsizetype(T.size()); ++i) {
        if (IsPunct(T[size_t(i)], '('))
            ++Depth;
        else if (IsPunct(T[size_t(i)], ')'))
            --Depth;
        if (Depth != 0 || !IsWord(T[size_t(i)], "Order"))
            continue;
        qsizetype j = NextSolid(T, i + 1);
        if (j >= qsizetype(T.size()) || !IsWord(T[size_t(j)], "By"))
            continue;
        // Each term: a lone (possibly qualified) column name naming a text column gets the collation.
        j = NextSolid(T, j + 1);
        while (j < qsizetype(T.size())) {
            qsizetype NameAt = j;
            if (T[size_t(j)].Kind == TTok::Ident) {
                qsizetype k = NextSolid(T, j + 1);
                if (k < qsizetype(T.size()) && IsPunct(T[size_t(k)], '.')) {
                    NameAt = NextSolid(T, k + 1);
                    k = NextSolid(T, NameAt + 1);
                }
                const bool Lone = k >= qsizetype(T.size()) || IsPunct(T[size_t(k)], ',') || IsPunct(T[size_t(k)], ';')
                    || IsWord(T[size_t(k)], "Asc") || IsWord(T[size_t(k)], "Desc") || IsWord(T[size_t(k)], "Limit");
                if (Lone && NameAt < qsizetype(T.size()) && T[size_t(NameAt)].Kind == TTok::Ident
                    && TextColumns.contains(BareName(T[size_t(NameAt)].Text).toLower())) {
                    T.insert(T.begin() + NameAt + 1,
                             TToken{TTok::Punct, QStringLiteral(" COLLATE ") + QLatin1String(PinyinCollation)});
                }
            }
            int D = 0;
            while (j < qsizetype(T.size())) {
                const TToken& K = T[size_t(j)];
                if (IsPunct(K, '('))
                    ++D;
                else if (IsPunct(K, ')'))
                    --D;
                else if (D == 0 && IsPunct(K, ','))
                    break;
                ++j;
            }
            j = NextSolid(T, j + 1);
        }
        return;
    }
}

struct TShape
{
    qsizetype SelectAt = -1;     // the first Select keyword
    bool SingleTable = false;
};

// One item of the select list: is it an amount (a float column), and does it aggregate?
void NoteSelectItem(const std::vector<TToken>& T, qsizetype ItemStart, qsizetype End, QSet<QString>& FloatColumns,
                    bool& Plain)
{
    bool Amount = false;
    QString Alias;
    int D = 0;
    for (qsizetype k = ItemStart; k < End; ++k) {
        const TToken& K = T[size_t(k)];
        if (IsPunct(K, '('))
            ++D;
        else if (IsPunct(K, ')'))
            --D;
        else if (IsPunct(K, '/'))
            Amount = true;
        else if (K.Kind == TTok::Ident) {
            const qsizetype N = NextSolid(T, k + 1);
            const bool Call = N < End && IsPunct(T[size_t(N)], '(');
            if (Call && (IsWord(K, "Sum") || IsWord(K, "Avg") || IsWord(K, "Round") || IsWord(K, "Abs")
                         || IsWord(K, "IIF")))
                Amount = true;
            if (Call && (IsWord(K, "Sum") || IsWord(K, "Avg") || IsWord(K, "Count") || IsWord(K, "Min")
                         || IsWord(K, "Max")))
                Plain = false;
            if (D == 0 && IsWord(K, "As") && N < End)
                Alias = BareName(T[size_t(N)].Text);
        }
    }
    QString Name = Alias;
    if (Name.isEmpty()) {
        Name = Join(T, ItemStart, End).trimmed();
        const qsizetype S = NextSolid(T, ItemStart);
        if (S < End && IsWord(T[size_t(S)], "Distinct"))
            Name = Join(T, S + 1, End).trimmed();
    }
    if (Amount)
        FloatColumns.insert(Name.toLower());
}

// Finds computed columns that hold amounts, and whether the statement reads one table plainly.
TShape AnalyseSelect(const std::vector<TToken>& T, QSet<QString>& FloatColumns)
{
    TShape Shape;
    const qsizetype First = NextSolid(T, 0);
    if (First >= qsizetype(T.size()) || !IsWord(T[size_t(First)], "Select"))
        return Shape;
    Shape.SelectAt = First;
    int Depth = 0;
    qsizetype ItemStart = First + 1, FromAt = -1;
    bool Plain = true;
    for (qsizetype i = First + 1; i < qsizetype(T.size()); ++i) {
        const TToken& K = T[size_t(i)];
        if (IsPunct(K, '('))
            ++Depth;
        else if (IsPunct(K, ')'))
            --Depth;
        else if (Depth == 0 && IsWord(K, "Distinct"))
            Plain = false;
        else if (Depth == 0 && IsPunct(K, ',')) {
            NoteSelectItem(T, ItemStart, i, FloatColumns, Plain);
            ItemStart = i + 1;
        } else if (Depth == 0 && IsWord(K, "From")) {
            NoteSelectItem(T, ItemStart, i, FloatColumns, Plain);
            FromAt = i;
            break;
        }
    }
    if (FromAt < 0)
        return Shape;
    // From: one table name, then nothing or a clause that keeps rows as they are.
    qsizetype k = NextSolid(T, FromAt + 1);
    if (k >= qsizetype(T.size()) || T[size_t(k)].Kind != TTok::Ident)
        return Shape;
    k = NextSolid(T, k + 1);
    const bool SimpleFrom = k >= qsizetype(T.size()) || IsWord(T[size_t(k)], "Where") || IsWord(T[size_t(k)], "Order")
        || IsWord(T[size_t(k)], "Limit") || IsPunct(T[size_t(k)], ';');
    Depth = 0;
    for (qsizetype i = FromAt; i < qsizetype(T.size()) && Plain; ++i) {
        const TToken& K = T[size_t(i)];
        if (IsPunct(K, '('))
            ++Depth;
        else if (IsPunct(K, ')'))
            --Depth;
        else if (Depth == 0 && (IsWord(K, "Group") || IsWord(K, "Having") || IsWord(K, "Union")))
            Plain = false;
    }
    Shape.SingleTable = Plain && SimpleFrom;
    return Shape;
}

} // namespace

TJetTranslation TranslateJetSql(const QString& Jet, const QSet<QString>& TextColumns)
{
    std::vector<TToken> T = Tokenize(Jet);
    ReplaceBooleans(T);
    RewriteBetween(T, Jet);
    RewriteOrderBy(T, TextColumns);
    TJetTranslation Out;
    const TShape Shape = AnalyseSelect(T, Out.FloatColumns);
    Out.Sql = Join(T, 0, qsizetype(T.size()));
    if (Shape.SingleTable) {
        Out.SqlWithRowId = Join(T, 0, Shape.SelectAt + 1) + QStringLiteral(" _ROWID_ AS ")
            + QLatin1String(RowIdColumn) + u',' + Join(T, Shape.SelectAt + 1, qsizetype(T.size()));
    }
    return Out;
}
