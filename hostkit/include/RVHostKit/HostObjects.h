// Host objects for every host interface. Each appends its calls to one shared CCallLog and
// answers as the test programs it.
#pragma once
#include "RVWindow.h"
#include "RVHostKit/CallLog.h"

#include <functional>
#include <map>

namespace RVHostKit
{

// Reference counting shared by the host objects; the count is visible so that tests can check
// that the component gives back every reference it took.
template <class... Interfaces>
class CTestObject : public Interfaces...
{
public:
    explicit CTestObject(CCallLog& log) : m_log(log) {}
    virtual ~CTestObject() = default;

    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_cRef); }
    STDMETHOD_(ULONG, Release)() override
    {
        const long count = --m_cRef;
        if (count == 0) delete this;
        return static_cast<ULONG>(count);
    }
    long RefCount() const { return m_cRef; }

protected:
    CCallLog& m_log;
    long m_cRef = 1; // the creating test holds the first reference
};

// IMessage, and IMessage2 when enabled. Answers are programmable per message code; onMessage
// runs inside the call (after logging, before the answer is written) for re-entrant tests.
class CTestMessage final : public CTestObject<IMessage>
{
public:
    explicit CTestMessage(CCallLog& log) : CTestObject(log), m_message2(*this) {}

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    STDMETHOD(Send)(ULONG wID, USHORT wMsg, ULONG Size, BYTE* data, LONG* pResult) override;
    STDMETHOD(SendWithDataID)(ULONG dataID, ULONG wID, USHORT wMsg, ULONG Size, BYTE* data,
                              LONG* pResult) override;

    std::map<unsigned short, long> answers;        // wMsg → value written through pResult
    bool offerMessage2 = true;                     // whether QueryInterface gives IMessage2
    std::function<void(unsigned short wMsg, BYTE* data)> onMessage;

private:
    // IMessage2 has a Send of the same shape as IMessage's, so it is a face of its own.
    class CMessage2 final : public IMessage2
    {
    public:
        explicit CMessage2(CTestMessage& owner) : m_owner(owner) {}
        STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override { return m_owner.QueryInterface(iid, ppv); }
        STDMETHOD_(ULONG, AddRef)() override { return m_owner.AddRef(); }
        STDMETHOD_(ULONG, Release)() override { return m_owner.Release(); }
        STDMETHOD(Send)(ULONG wID, USHORT wMsg, ULONG Size, BYTE* data, LONG* pResult) override;

    private:
        CTestMessage& m_owner;
    };

    HRESULT Answer(unsigned short wMsg, BYTE* data, LONG* pResult);

    CMessage2 m_message2;
};

class CTestSink final : public CTestObject<IRavlinWindowSink>
{
public:
    explicit CTestSink(CCallLog& log) : CTestObject(log) {}

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    STDMETHOD(SetSelectionLock)(LONG bLock) override;
    STDMETHOD(SetVisibilityLock)(LONG bLock) override;
    STDMETHOD(IsSelectionLock)(LONG* pbLock) override;
    STDMETHOD(IsVisibilityLock)(LONG* pbLock) override;
    STDMETHOD(SetMenuMask)(ULONG mask) override;
    STDMETHOD(GetFirstSelectedOrvaneItem)(ULONG* pKey) override;
    STDMETHOD(NotifySelectedTypeID)(int typeID) override;
    STDMETHOD(NotifyRButtonUp)(UINT nFlags, POINT point, int menuKey) override;

    long selectionLock = 0;
    long visibilityLock = 0;
    unsigned long firstSelectedKey = 0;
};

class CTestVisibility final : public CTestObject<IVisibilityManager>
{
public:
    explicit CTestVisibility(CCallLog& log) : CTestObject(log) {}

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    STDMETHOD(SetVisible)(ULONG keyIn) override;
    STDMETHOD(SetInvisible)(ULONG keyIn) override;
    STDMETHOD(GetVisibility)(ULONG keyIn, LONG* pOnOrOff) override;

    std::map<unsigned long, HRESULT> failures;   // key → result other than S_OK
    std::map<unsigned long, long> visibility;     // key → GetVisibility answer
};

// IView3DObjects, and IViewNodeQuery when enabled.
class CTestView3D final : public CTestObject<IView3DObjects, IViewNodeQuery>
{
public:
    explicit CTestView3D(CCallLog& log) : CTestObject(log) {}

    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    STDMETHOD(Draw)() override;
    STDMETHOD(IsNodeLoaded)(ULONG key, LONG* pbLoaded) override;
    STDMETHOD(IsNodeVisible)(ULONG key, LONG* pbVisible) override;
    STDMETHOD(CanLockNode)(ULONG key, LONG* pbCanLock) override;

    bool offerNodeQuery = true;
    std::map<unsigned long, long> canLock; // key → answer (default 1)
};

class CTestManage3D final : public CTestObject<IManage3DObjects>
{
public:
    explicit CTestManage3D(CCallLog& log) : CTestObject(log) {}
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
};

} // namespace RVHostKit
