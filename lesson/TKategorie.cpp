#include "lesson/TKategorie.h"

#include "i18n/MainDictionary.h"
#include "lesson/ColorText.h"
#include "lesson/Geoobj.h"
#include "lesson/GlobeLink.h"
#include "lesson/LessonHooks.h"

#include <optional>

namespace {

struct KindDefaults {
    char16_t letter;
    CategoryKind kind;
    const char16_t* indexSection;
    const char16_t* name;
    const char16_t* nameEnglish;
    TColor color;
    TColor mapColor;
    TColor selectedColor;
    std::optional<TColor> outlineColor;
};

// The names are the fixed German and English plurals stored with a lesson,
// whatever the interface language.
const KindDefaults kKinds[] = {
    {u'C', CategoryKind::Cities, u"Stadt", u"Städte", u"Cities", 0x0000FF, 0xC0C0C0, 0x0000FF, std::nullopt},
    {u'L', CategoryKind::Countries, u"Land", u"Länder", u"Countries", 0x000000, 0xFFFFFF, 0x00FFFF, 0x000000},
    {u'F', CategoryKind::Rivers, u"Fluss", u"Flüsse", u"Rivers", 0xFF0000, 0xC0C0C0, 0xFF0000, std::nullopt},
    {u'I', CategoryKind::Islands, u"Insel", u"Inseln", u"Islands", 0x000080, 0xFFFFFF, 0x00FFFF, std::nullopt},
    {u'S', CategoryKind::Lakes, u"See", u"Seen", u"Lakes", 0xFF0000, 0xC0C0C0, 0xFF0000, std::nullopt},
    {u'T', CategoryKind::States, u"Staat", u"Staaten", u"States", 0x000000, 0xFFFFFF, 0x00FFFF, std::nullopt},
};

const KindDefaults* findKind(const QString& letter)
{
    if (letter.size() != 1)
        return nullptr;
    for (const KindDefaults& k : kKinds)
        if (letter[0] == QChar(k.letter))
            return &k;
    return nullptr;
}

bool isAreaKind(CategoryKind kind)
{
    return kind == CategoryKind::Countries || kind == CategoryKind::Islands || kind == CategoryKind::States;
}

} // namespace

TGeoItem& TKategorie::AddItem()
{
    Items.push_back(std::make_unique<TGeoItem>(this));
    return *Items.back();
}

void TKategorie::SetKind(const QString& letter)
{
    const KindDefaults* k = findKind(letter);
    if (!k) {
        Singular.clear();
        Article.clear();
        return;
    }
    const TLangDictionary& dictionary = MainDictionary();
    Singular = dictionary.GetText(letter + u'n');
    Article = dictionary.GetText(QStringLiteral("Article") + letter);
    IndexSection = QString::fromUtf16(k->indexSection);
    Name = QString::fromUtf16(k->name);
    NameEnglish = QString::fromUtf16(k->nameEnglish);
    Kind = k->kind;
    Color = k->color;
    SetMapColor(k->mapColor);
    SelectedColor = k->selectedColor;
    if (k->outlineColor)
        SetOutlineColor(*k->outlineColor);
}

QString TKategorie::KindLetterOf(const QString& sectionName)
{
    if (sectionName == u"Stadt")
        return QStringLiteral("C");
    if (sectionName == u"Staat")
        return QStringLiteral("T");
    return sectionName.left(1);
}

void TKategorie::ApplySettings(const QString& text, const TValueSource& source)
{
    if (text.isEmpty())
        return;
    const QStringList fields = SplitFields(text, u'~');
    const auto present = [&](int k) { return fields.size() >= k; };
    const auto color = [&](int k) { return ParseColorText(fields[k - 1], source); };
    if (present(1))
        Name = fields[0];
    if (present(2))
        NameEnglish = fields[1];
    if (present(3))
        Color = color(3);
    if (present(4))
        SetMapColor(color(4));
    if (present(5))
        SelectedColor = color(5);
    if (present(6))
        SetOutlineColor(color(6));
}

void TKategorie::SetMapColor(TColor color)
{
    MapColor = color;
    if (!HasPresenters())
        return;
    if (NormalPresenter) {
        switch (Kind) {
        case CategoryKind::Rivers:
            NormalPresenter->SetLineColor(color);
            break;
        case CategoryKind::Lakes:
            NormalPresenter->SetFillColor(color);
            NormalPresenter->SetLineColor(color);
            break;
        case CategoryKind::None:
            break;
        default:
            NormalPresenter->SetFillColor(color);
            break;
        }
    }
    LessonHooks::RedrawGlobe();
}

void TKategorie::SetOutlineColor(TColor color)
{
    OutlineColor = color;
    if (!HasPresenters())
        return;
    if (NormalPresenter && isAreaKind(Kind))
        NormalPresenter->SetLineColor(color);
    LessonHooks::RedrawGlobe();
}

QString TKategorie::DisplayName() const
{
    if (MainDictionary().ActiveLanguage() == 3 && !NameEnglish.isEmpty())
        return NameEnglish;
    return Name;
}

TGeoItem* TKategorie::FindItem(int number) const
{
    for (const auto& item : Items)
        if (item->Number == number)
            return item.get();
    return nullptr;
}
