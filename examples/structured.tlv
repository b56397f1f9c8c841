<?xml version="1.0" encoding="UTF-8"?>
<document version="1" next-unique="4">
  <colour name="Black" reserved="1"/>
  <colour name="Yellow" reserved="3"/>
  <colour name="Magenta" reserved="8"/>
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <marker-type name="Comment"/>
  <element-def name="topic">
    <attribute name="class"><value>- topic/topic </value></attribute>
  </element-def>
  <element-def name="title"/>
  <element-def name="p"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <structure>
      <element key="e1" def="topic">
        <attribute name="id"><value>intro</value></attribute>
        <element key="e2" def="title"/>
        <element key="e3" def="p">
          <attribute name="id"><value>first</value></attribute>
        </element>
        <element key="e4" def="p" unique-id="second"/>
      </element>
    </structure>
    <p unique="1" format="Title"><element-begin ref="e1"/><element-begin ref="e2"/>Introduction<element-end ref="e2"/></p>
    <p unique="2" format="Body"><element-begin ref="e3"/>The first paragraph.<element-end ref="e3"/></p>
    <p unique="3" format="Body"><element-begin ref="e4"/>The second paragraph.<element-end ref="e4"/><element-end ref="e1"/></p>
  </flow>
</document>
