// The library's event-driven XML reader over expat. A reader for one kind of
// document derives from iXML, overrides the element events (calling the base ones
// so that the depth stays right) and feeds the document to Parse, whole or in pieces.
// Documents may come from the network: whatever the bytes, Parse answers with a
// status and never lets a fault escape into the parser.
#pragma once

#include <expat.h>

// Owns one expat parser for its whole life; events arrive on the thread that calls Parse.
class iXML {
public:
    iXML();
    virtual ~iXML();
    iXML(const iXML&) = delete;
    iXML& operator=(const iXML&) = delete;

    // attributes is expat's list: name, value, name, value, ..., then a null pointer.
    virtual void StartElement(const char* name, const char** attributes);
    virtual void EndElement(const char* name);

    // Nonzero when the bytes so far are well-formed, 0 on a parse error (a document
    // cut short and given with isFinal nonzero is an error). Events delivered before
    // an error stay delivered; once an error is reported every later call answers 0.
    [[nodiscard]] int Parse(const char* buffer, int length, int isFinal);

protected:
    XML_Parser m_parser;
    // Elements open at the current point of the document; 0 outside the root.
    int m_depth;

private:
    static void XMLCALL OnStartElement(void* userData, const XML_Char* name, const XML_Char** attributes);
    static void XMLCALL OnEndElement(void* userData, const XML_Char* name);
    // Runs event on the reader unless its parse has failed; stops the parse if event throws.
    template <class Event>
    static void Deliver(void* userData, Event event);
    // Stops the parse from inside a handler whose override failed.
    void Abort();

    bool m_hasFailed;
};
