// The XML reader: expat's element callbacks turned into the reader's virtual events.
#include "iXML.h"

#include "framework/Exceptions.h"

iXML::iXML() : m_parser(XML_ParserCreate(nullptr)), m_depth(0), m_hasFailed(false)
{
    // No encoding name: the document's own declaration decides, else UTF-8.
    if (!m_parser)
        return;
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, OnStartElement, OnEndElement);
}

iXML::~iXML()
{
    if (m_parser)
        XML_ParserFree(m_parser);
}

void iXML::StartElement(const char* name, const char** attributes)
{
    ++m_depth;
}

void iXML::EndElement(const char* name)
{
    --m_depth;
}

int iXML::Parse(const char* buffer, int length, int isFinal)
{
    // A parser that could not be made, a negative length or bytes promised from
    // nowhere are refused here rather than handed to expat.
    if (!m_parser || m_hasFailed || length < 0 || (!buffer && length > 0))
        return 0;
    if (XML_Parse(m_parser, buffer, length, isFinal ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
        m_hasFailed = true;
        return 0;
    }
    return 1;
}

// An override that throws must not unwind through expat's C frames: the parse
// stops and Parse answers 0 instead, and a framework exception is released here,
// as its handler must. expat may still report the end of the tag it was in; that
// event is dropped so the depth stays as the events left it.
template <class Event>
void iXML::Deliver(void* userData, Event event)
{
    iXML* reader = static_cast<iXML*>(userData);
    if (reader->m_hasFailed)
        return;
    try {
        event(*reader);
    } catch (CException* e) {
        e->Delete();
        reader->Abort();
    } catch (...) {
        reader->Abort();
    }
}

void XMLCALL iXML::OnStartElement(void* userData, const XML_Char* name, const XML_Char** attributes)
{
    Deliver(userData, [&](iXML& reader) { reader.StartElement(name, attributes); });
}

void XMLCALL iXML::OnEndElement(void* userData, const XML_Char* name)
{
    Deliver(userData, [&](iXML& reader) { reader.EndElement(name); });
}

void iXML::Abort()
{
    m_hasFailed = true;
    XML_StopParser(m_parser, XML_FALSE);
}
