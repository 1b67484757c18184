// The environment forms of object sources and of the projection.

#include "globe/GlobeClasses.h"
#include "globe/GlobeProjections.h"
#include "globe/GlobeXml.h"

namespace {
struct NamedProperty {
    TProjectionProperty property;
    const char* name;
};
// The view settings that an environment keeps, in the order they are set
// back: the rotations before the scale so that the fitted scale stays put.
constexpr NamedProperty kFloatProperties[] = {
    {ppCentralMeridian, "CentralMeridian"}, {ppCentralParallel, "CentralParallel"},
    {ppFirstParallel, "FirstParallel"},     {ppSecondParallel, "SecondParallel"},
    {ppMaxLatitude, "MaxLatitude"},         {ppMinLatitude, "MinLatitude"},
    {ppMaxLongitude, "MaxLongitude"},       {ppMinLongitude, "MinLongitude"},
    {ppMaxZoom, "MaxZoom"},                 {ppMinZoom, "MinZoom"},
    {ppXRotation, "XRotation"},             {ppYRotation, "YRotation"},
    {ppZRotation, "ZRotation"},
};

template <typename Enum> Enum EnumAttribute(const TGlobeXmlElement& element, const char* name, Enum current, int count)
{
    const int v = element.IntAttribute(QLatin1String(name), current);
    return v >= 0 && v < count ? static_cast<Enum>(v) : current;
}
} // namespace

void TGlobeObjectSource::LoadEnvironment(const TGlobeXmlElement& element)
{
    Name = element.Attribute(QStringLiteral("Name"), Name);
}

void TGlobeObjectSource::SaveEnvironment(TGlobeXmlElement& element)
{
    element.SetAttribute(QStringLiteral("Class"), ClassName());
    if (!Name.isEmpty())
        element.SetAttribute(QStringLiteral("Name"), Name);
}

void TGlobeProjection::SaveEnvironment(TGlobeXmlElement& element) const
{
    element.SetAttribute(QStringLiteral("ProjectionClass"), ProjectionClass());
    for (const NamedProperty& p : kFloatProperties)
        element.SetRealAttribute(QLatin1String(p.name), FloatProp(p.property));
    element.SetRealAttribute(QStringLiteral("ScaleFactor"), m_scaleFactor);
    element.SetIntAttribute(QStringLiteral("XOrigin"), m_xOrigin);
    element.SetIntAttribute(QStringLiteral("YOrigin"), m_yOrigin);
    element.SetIntAttribute(QStringLiteral("Spheroid"), Spheroid);
    element.SetIntAttribute(QStringLiteral("XAxisChanges"), m_xAxisChanges);
    element.SetIntAttribute(QStringLiteral("YAxisChanges"), m_yAxisChanges);
}

void TGlobeProjection::LoadEnvironment(const TGlobeXmlElement& element)
{
    // An unknown class raises before anything has changed.
    if (element.HasAttribute(QStringLiteral("ProjectionClass")))
        SetProjectionClass(element.Attribute(QStringLiteral("ProjectionClass")));
    Spheroid = EnumAttribute(element, "Spheroid", Spheroid, 17);
    SetXAxisChanges(EnumAttribute(element, "XAxisChanges", m_xAxisChanges, 3));
    SetYAxisChanges(EnumAttribute(element, "YAxisChanges", m_yAxisChanges, 3));
    for (const NamedProperty& p : kFloatProperties)
        SetFloatProp(p.property, element.RealAttribute(QLatin1String(p.name), FloatProp(p.property)));
    SetScaleFactor(element.RealAttribute(QStringLiteral("ScaleFactor"), m_scaleFactor));
    SetGlobeCenterXY(QPoint(element.IntAttribute(QStringLiteral("XOrigin"), m_xOrigin),
                            element.IntAttribute(QStringLiteral("YOrigin"), m_yOrigin)));
}
