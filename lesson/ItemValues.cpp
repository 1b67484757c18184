#include "lesson/ItemValues.h"

#include "lesson/Geoobj.h"
#include "lesson/LessonValues.h"

TPictureItemValue ParsePictureItemValue(const QString& value)
{
    TPictureItemValue item;
    QString rest = value;
    if (rest.startsWith(u"xxx")) {
        item.Deactivated = true;
        rest.remove(0, 3);
    }
    // Field extraction gives the last field when asked beyond the end, so
    // the optional fields are taken only when they are there.
    const int fields = FieldCount(rest, u'?');
    const QString names = ExtractField(rest, u'?', 1);
    item.NamesGerman = SplitNames(ExtractField(names, u'~', 1));
    if (FieldCount(names, u'~') >= 2)
        item.NamesEnglish = SplitNames(ExtractField(names, u'~', 2));
    if (fields >= 2)
        item.Region = ExtractField(rest, u'?', 2);
    if (fields >= 3)
        item.CapitalNames = SplitNames(ExtractField(rest, u'?', 3));
    return item;
}

TGlobeItemValue ParseGlobeItemValue(const QString& value, const TValueSource& source)
{
    TGlobeItemValue item;
    QString rest = value;
    if (rest.startsWith(u"xxxx")) {
        item.State = ItemState::ShowOnly;
        rest.remove(0, 4);
    } else if (rest.startsWith(u"xxx")) {
        item.State = ItemState::Deactivated;
        rest.remove(0, 3);
    }
    if (!ParseDecimal(rest, item.Number))
        throw ConversionError(source, value);
    return item;
}
