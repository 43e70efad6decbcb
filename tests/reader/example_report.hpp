#pragma once

namespace kiv::test {

// A complete report with header extraction and an MC/DC decision.
inline constexpr const char* kExampleReport = R"report(<?xml version="1.0" encoding="ISO-8859-1"?>

<kiv_xml_report>

<header_info>
	<kivpost_version>8.3.1</kivpost_version>
	<report_generated>Tue Dec  8 10:00:00 2026</report_generated>
	<requested_coverage_view>As instrumented</requested_coverage_view>
	<execution_cost_function>clock</execution_cost_function>
	<execution_cost_type>ticks</execution_cost_type>
	<execution_cost_scaling>1</execution_cost_scaling>
</header_info>

<kivpost_notices>
	<notice>calc built with -O2</notice>
</kivpost_notices>

<file name="C:\Src\calc.c">
	<file_type>source</file_type>
	<instrumentation_mode>multicondition+timing</instrumentation_mode>
	<include name="#include &quot;util.h&quot;" />
	<probe type="linedir"
	 line="2" descr="#line 1 &quot;C:\Src\util.h&quot;" />
	<function name="square">
		<parameters>(int x)</parameters>
		<defined_at_line>3</defined_at_line>
		<call_count>4</call_count>
		<total_execution_cost>8</total_execution_cost>
		<max_execution_cost>3</max_execution_cost>
		<body>
			<probe type="function" nesting="0"
			 line="3" count1="4" descr="square()" />
			<probe type="function_end" nesting="0"
			 line="5" count1="4" descr="}" />
		</body>
		<function_summary>
			<statement_available>yes</statement_available>
		</function_summary>
	</function>
	<probe type="linedir"
	 line="9" descr="#line 4 &quot;C:\Src\calc.c&quot;" />
	<function name="both">
		<parameters>(int a, int b)</parameters>
		<defined_at_line>5</defined_at_line>
		<call_count>3</call_count>
		<total_execution_cost>12</total_execution_cost>
		<max_execution_cost>6</max_execution_cost>
		<body>
			<probe type="function" nesting="0"
			 line="5" count1="3" descr="both()" />
			<probe type="if" sc_count="2" nesting="1"
			 line="7" count1="1" count2="2" descr="if (a &gt; 0 &amp;&amp; b &gt; 0)" />
			<probe type="multi_cond_t" eval_no="1" nesting="1"
			 line="7" count1="1" descr="T &amp;&amp; T" />
			<probe type="multi_cond_f" eval_no="2" nesting="1"
			 line="7" count2="2" descr="T &amp;&amp; F" />
			<probe type="multi_cond_f" eval_no="3" nesting="1"
			 line="7" descr="F &amp;&amp; _" />
			<probe type="mcdc" nesting="1"
			 line="7" descr="1: 1 - 3; 2: 1 + 2" />
			<probe type="return" nesting="1"
			 line="8" count1="1" descr="return 1" />
			<probe type="function_end" nesting="0"
			 line="10" count1="2" descr="}" />
		</body>
		<function_summary>
			<statement_available>yes</statement_available>
		</function_summary>
	</function>
	<file_summary>
		<lines>10</lines>
	</file_summary>
</file>

<overall_summary>
	<shown_coverage_views>multicondition</shown_coverage_views>
	<lines>10</lines>
	<measurement_points>9</measurement_points>
</overall_summary>
</kiv_xml_report>
)report";

} // namespace kiv::test
